// Port: questions and messages to the user, and the small services a window gives the behaviour.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

constexpr const char* ProgramTitle = "Morvane";

enum class MsgIcon { Exclamation, Critical, Question, Information, None };
// Yes is the default button of YesNo; a question whose Yes destroys something has No as its
// default, so that a stray Enter destroys nothing.
enum class MsgButtons { Ok, YesNo, YesNoDefaultNo };
enum class MsgAnswer { Ok, Yes, No };

class Prompts {
public:
    Prompts() = default;
    Prompts(const Prompts&) = delete;
    Prompts& operator=(const Prompts&) = delete;
    virtual ~Prompts() = default;

    virtual MsgAnswer Message(std::string_view text, std::string_view title, MsgIcon icon,
                              MsgButtons buttons) = 0;
    // The edited text for OK, the empty text for Cancel.
    virtual std::string InputBox(std::string_view prompt, std::string_view title,
                                 std::string_view defaultText) = 0;
    // The standard Save dialog for one kind of file (`kind` such as "Zip archives", `extension`
    // such as "zip"), which asks itself before an existing file is replaced: the path chosen, or
    // the empty text for Cancel.
    virtual std::string SaveFileName(std::string_view title, std::string_view defaultName, std::string_view kind,
                                     std::string_view extension) = 0;
    // The standard folder picker: the folder chosen, or the empty text for Cancel.
    virtual std::string PickFolder(std::string_view title) = 0;
};

class Clipboard {
public:
    Clipboard() = default;
    Clipboard(const Clipboard&) = delete;
    Clipboard& operator=(const Clipboard&) = delete;
    virtual ~Clipboard() = default;
    // Replaces the clipboard's text; a clipboard that cannot be opened is left alone.
    virtual void SetText(std::string_view text) = 0;
};

class SizeFormatter {
public:
    SizeFormatter() = default;
    SizeFormatter(const SizeFormatter&) = delete;
    SizeFormatter& operator=(const SizeFormatter&) = delete;
    virtual ~SizeFormatter() = default;
    // A short human-readable size such as "532 bytes", "1.50 KB" or "12.3 MB".
    virtual std::string FormatByteSize(std::uint64_t bytes) = 0;
};
