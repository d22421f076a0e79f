// Port: the system's ANSI code page, the encoding of a cache.ini written without a byte-order
// mark. The program's own text is UTF-8; the code page is met only when cache.ini is read and
// written.
#pragma once
#include <string>
#include <string_view>

class CodePage {
public:
    CodePage() = default;
    CodePage(const CodePage&) = delete;
    CodePage& operator=(const CodePage&) = delete;
    virtual ~CodePage() = default;

    // Code-page bytes as UTF-8 text.
    virtual std::string ToUtf8(std::string_view bytes) = 0;
    // UTF-8 text as code-page bytes; false when a character has no exact equivalent there, so that
    // a name is never written as a look-alike that names another file.
    virtual bool FromUtf8(std::string_view text, std::string& bytes) = 0;
};
