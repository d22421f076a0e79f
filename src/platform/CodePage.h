// Port: the system's ANSI code page, for the texts the program reads in other encodings and for
// scanning names byte by byte where a code page has two-byte characters.
#pragma once
#include <string>
#include <string_view>

class CodePage {
public:
    CodePage() = default;
    CodePage(const CodePage&) = delete;
    CodePage& operator=(const CodePage&) = delete;
    virtual ~CodePage() = default;

    // Whether `byte` starts a two-byte character, whose second byte may be any value from 0x40 up,
    // "\" (0x5C) and "|" (0x7C) among them. Never true on single-byte code pages.
    virtual bool IsLeadByte(unsigned char byte) = 0;
    // UTF-16 text in the code page; a character the code page lacks becomes "?", which no file name
    // may hold, so such a name is refused rather than changed into another one.
    virtual std::string FromUtf16(std::u16string_view text) = 0;
    // Code-page text in UTF-16, for writing an index back in the encoding it came in.
    virtual std::u16string ToUtf16(std::string_view text) = 0;
};
