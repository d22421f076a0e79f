// The program's text is UTF-8 inside; Windows speaks UTF-16. These convert between the two without
// loss: a file name may hold a UTF-16 unit that is half of a pair only (NTFS allows it), which is
// carried as the three bytes its code point would take (as WTF-8 does), so every name read from
// the disk goes back to the disk as it was.
#pragma once
#include <string>
#include <string_view>

// UTF-16 to UTF-8; never fails.
std::string Utf8FromUtf16(std::u16string_view text);
// The same, appended to `out`: a text converted piece by piece into one buffer costs no allocation
// per piece.
void AppendUtf8FromUtf16(std::u16string_view text, std::string& out);
// UTF-8 to UTF-16. False for bytes that are not UTF-8 (overlong forms, stray continuation bytes,
// code points past U+10FFFF); with `strict`, halves of pairs are refused too, as they must be in
// a UTF-8 file written by anyone else.
bool Utf16FromUtf8(std::string_view text, std::u16string& out, bool strict = false);
// Whether `text` is UTF-8 as Utf16FromUtf8 takes it.
bool IsUtf8(std::string_view text, bool strict = false);
