// Building a "mailto:" address from text a user or a database supplied.
// The text must be one plain address (local part, "@", domain): no blanks,
// control characters, list separators or angle brackets, so it can never
// name several recipients or carry header fields of its own. Every byte
// outside the unreserved set is percent-encoded, so "?", "&", "#", "%" and
// quotes in it stay part of the address instead of adding or overriding
// the message's fields.
#pragma once

#include "rtl/exceptions.h"
#include "rtl/types.h"

namespace brevant {

BV_DECLARE_EXCEPTION(EMailAddressError, Exception);

// Whether text is one plain address as described above.
bool IsPlainMailAddress(const String& text);
// Percent-encodes every byte except letters, digits, "-", ".", "_", "~" and
// "@" (UTF-8 sequences byte by byte).
String PercentEncodeMailPart(const String& text);
// "mailto:<encoded address>?subject=<encoded subject>"; raises
// EMailAddressError, quoting the text, when it is no plain address.
String MailToUrl(const String& address, const String& subject);

}  // namespace brevant
