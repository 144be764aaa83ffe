// Mail addresses taken from a database into a "mailto:" address: only one
// plain address passes, and what could add or override message fields is
// percent-encoded.
#include <gtest/gtest.h>

#include "demo/modules/mail_address.h"

namespace brevant {
namespace {

TEST(MailAddress, PlainAddressesPass) {
  struct Row {
    const char* name;
    const char* text;
    bool plain;
  } rows[] = {
      {"ordinary", "sales@vendor.example", true},
      {"dots and plus", "j.doe+orders@mail.vendor.example", true},
      {"query characters in the local part", "a&b?c=d#e%f@vendor.example", true},
      {"quote in the local part", "o'hara@vendor.example", true},
      {"non-ASCII domain", "info@b\xC3\xBCro.example", true},
      {"empty", "", false},
      {"no at sign", "vendor.example", false},
      {"two at signs", "a@b@vendor.example", false},
      {"empty local part", "@vendor.example", false},
      {"empty domain", "sales@", false},
      {"blank", "sales team@vendor.example", false},
      {"line break", "sales@vendor.example\r\nBcc: x@y.example", false},
      {"list", "a@b.example,c@d.example", false},
      {"semicolon list", "a@b.example;c@d.example", false},
      {"display name", "Sales <sales@vendor.example>", false},
      {"query in the domain", "sales@vendor.example?cc=x@y.example", false},
      {"domain dots", "sales@vendor..example", false},
      {"leading dot domain", "sales@.example", false},
  };
  for (const Row& row : rows) EXPECT_EQ(IsPlainMailAddress(row.text), row.plain) << row.name;
}

TEST(MailAddress, UrlEncodesEverythingOutsideTheUnreservedSet) {
  EXPECT_EQ(MailToUrl("sales@vendor.example", "request"),
            "mailto:sales@vendor.example?subject=request");
  EXPECT_EQ(MailToUrl("a&b?c=d#e%f@vendor.example", "request"),
            "mailto:a%26b%3Fc%3Dd%23e%25f@vendor.example?subject=request");
  EXPECT_EQ(MailToUrl("o'hara\"x@vendor.example", "a b"),
            "mailto:o%27hara%22x@vendor.example?subject=a%20b");
  EXPECT_EQ(MailToUrl("info@b\xC3\xBCro.example", "request"),
            "mailto:info@b%C3%BCro.example?subject=request");
}

TEST(MailAddress, RefusalQuotesTheText) {
  try {
    MailToUrl("a@b.example,c@d.example", "request");
    FAIL() << "no exception";
  } catch (const EMailAddressError& e) {
    EXPECT_EQ(e.Message(), "'a@b.example,c@d.example' is not a mail address");
  }
}

}  // namespace
}  // namespace brevant
