#include "net/PercentEncoding.h"

#include <gtest/gtest.h>

namespace wt::net {
namespace {

TEST(PercentEncode, KeepsUnreservedAndEscapesEverythingElse) {
    EXPECT_EQ(PercentEncode("Beatles-1.x_y~"), "Beatles-1.x_y~");
    EXPECT_EQ(PercentEncode("rock & roll"), "rock%20%26%20roll");
    EXPECT_EQ(PercentEncode("a=b?c#d/e+f%"), "a%3Db%3Fc%23d%2Fe%2Bf%25");
    EXPECT_EQ(PercentEncode("\r\n"), "%0D%0A");
    EXPECT_EQ(PercentEncode("caf\xC3\xA9"), "caf%C3%A9");
    EXPECT_EQ(PercentEncode(""), "");
}

}  // namespace
}  // namespace wt::net
