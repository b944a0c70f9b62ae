#include "settings/DecodeTable.h"

#include "settings/LHARoutines.h"
#include "settings/LhaFormat.h"

namespace wt::lha {

void MakeDecodeTable(int symbols, const std::uint8_t* lengths, int tableBits, std::uint16_t* table,
                     DecodeTree& tree) {
    std::uint32_t count[kMaxCodeLength + 1] = {};
    for (int i = 0; i < symbols; ++i) count[lengths[i]]++;

    std::uint32_t start[kMaxCodeLength + 2];
    std::uint32_t weight[kMaxCodeLength + 1];
    start[1] = 0;
    for (int i = 1; i <= kMaxCodeLength; ++i) start[i + 1] = start[i] + (count[i] << (kMaxCodeLength - i));
    // The sum is taken in full width, so a set that overfills the code space by a multiple of
    // 2^16 is refused as well instead of wrapping around.
    if (start[kMaxCodeLength + 1] != (1u << kMaxCodeLength) && start[kMaxCodeLength + 1] != 0)
        throw ECorruptFile();

    const int jut = kMaxCodeLength - tableBits;
    int i = 1;
    for (; i <= tableBits; ++i) {
        start[i] >>= jut;
        weight[i] = 1u << (tableBits - i);
    }
    for (; i <= kMaxCodeLength; ++i) weight[i] = 1u << (kMaxCodeLength - i);

    // Entries after the last short code are cleared; they are the roots of the longer codes.
    const std::uint32_t tableSize = 1u << tableBits;
    for (std::uint32_t k = start[tableBits + 1] >> jut; k < tableSize; ++k) table[k] = 0;

    int avail = symbols;
    const int nodeLimit = 2 * symbols - 1;
    const std::uint32_t mask = 1u << (15 - tableBits);
    for (int ch = 0; ch < symbols; ++ch) {
        const int len = lengths[ch];
        if (len == 0) continue;
        const std::uint32_t next = start[len] + weight[len];
        if (len <= tableBits) {
            for (std::uint32_t k = start[len]; k < next; ++k) table[k] = static_cast<std::uint16_t>(ch);
        } else {
            std::uint32_t k = start[len];
            std::uint16_t* p = &table[k >> jut];
            for (int steps = len - tableBits; steps > 0; --steps) {
                if (*p == 0) {
                    if (avail >= nodeLimit) throw ECorruptFile();
                    tree.left[avail] = tree.right[avail] = 0;
                    *p = static_cast<std::uint16_t>(avail++);
                }
                p = (k & mask) ? &tree.right[*p] : &tree.left[*p];
                k <<= 1;
            }
            *p = static_cast<std::uint16_t>(ch);
        }
        start[len] = next;
    }
}

}  // namespace wt::lha
