#include "platform/os_error.h"

#include <gtest/gtest.h>

namespace {

TEST(OsErrorTest, DescribeNamesTheTextTheCodeAndTheObject) {
  struct Case {
    uint32_t code;
    const char16_t* object;
    const char16_t* message;
    const char* expected;
  };
  const Case cases[] = {
      {0, u"C:\\x", u"ignored", ""},
      {3, u"C:\\missing\\f.txt", u"The system cannot find the path specified.",
       "The system cannot find the path specified. (error 3): C:\\missing\\f.txt"},
      {5, u"", u"Access is denied.", "Access is denied. (error 5)"},
      {1234, u"Svc", u"", "error 1234: Svc"},
  };
  for (const Case& c : cases) {
    OsError error{c.code, cc::Str(c.object), cc::Str(c.message)};
    EXPECT_EQ(DescribeOsError(error).ToUtf8(), c.expected);
  }
}

}  // namespace
