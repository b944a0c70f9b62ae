#pragma once
// A field object of a TzDataset: reads and writes one value of the data set's current
// record (or of the record being edited or inserted).
#include <cstdint>
#include <string>
#include <string_view>

#include "catalogue/FieldTypes.h"

namespace wt {

class TzDataset;

class TzField {
public:
    TzField(TzDataset& dataset, std::string fieldName, FieldType type, std::int32_t size);
    TzField(const TzField&) = delete;
    TzField& operator=(const TzField&) = delete;

    const std::string& FieldName() const { return fieldName_; }
    FieldType DataType() const { return type_; }
    // Characters of a text field, 0 for other types.
    std::int32_t Size() const { return size_; }
    TzDataset& DataSet() const { return dataset_; }
    // Position in the data set's field list, -1 while not bound to an open file.
    std::int32_t Index() const { return index_; }

    // A field with no record to read, or a zero number while ShowZero is off, is empty.
    bool IsNull() const;
    std::string AsString() const;
    std::int32_t AsInteger() const;
    std::int64_t AsLargeInt() const;
    double AsFloat() const;
    double AsCurrency() const { return AsFloat(); }
    bool AsBoolean() const;
    // Days since 1899-12-30 with the time as the fraction.
    double AsDateTime() const;

    // Setters change only the pending record; Post writes it. An empty text leaves a number
    // field's bytes as they were; text is cut to Size bytes on a character boundary.
    void SetAsString(std::string_view value);
    void SetAsInteger(std::int32_t value) { SetAsLargeInt(value); }
    void SetAsLargeInt(std::int64_t value);
    void SetAsFloat(double value);
    void SetAsCurrency(double value) { SetAsFloat(value); }
    void SetAsBoolean(bool value);
    void SetAsDateTime(double value);
    void Clear();

    // The same reads on any record's bytes (used by ordering, searching and filtering).
    bool IsNullIn(const unsigned char* record) const;
    std::string StringIn(const unsigned char* record) const;
    std::int64_t IntegerIn(const unsigned char* record) const;
    double FloatIn(const unsigned char* record) const;
    double DateTimeIn(const unsigned char* record) const;
    // The stored text bytes (up to the zero byte), undecoded.
    std::string_view RawTextIn(const unsigned char* record) const;

private:
    friend class TzDataset;
    // Bytes of this field's value: Size + 1 for text, the width otherwise, never more than
    // the width the file gives the field.
    std::int32_t DataSize() const;
    bool ZeroIn(const unsigned char* record) const;
    void Bind(std::int32_t index, std::int32_t offset, std::int32_t width);
    void Unbind();
    unsigned char* WritableData();
    void StoreText(std::string_view value);

    TzDataset& dataset_;
    std::string fieldName_;
    FieldType type_;
    std::int32_t size_;
    std::int32_t index_ = -1;
    std::int32_t offset_ = 0;
    std::int32_t width_ = 0;
};

}  // namespace wt
