// What the index readings and the filtered rewrite must make of any text, shared by the index's
// test and the fuzz target. Both read with the fake code page, where each byte is the character
// of its own number: an index of known lines can then be written in every encoding and its results
// worked out from the lines alone.
#pragma once
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "cache/CacheIndex.h"
#include "platform/Utf.h"

enum class Form { Ansi, Utf8, Utf16LE, Utf16BE, Utf16LENoMark, Utf16BENoMark };
inline constexpr Form AllForms[] = {Form::Ansi,    Form::Utf8,          Form::Utf16LE,
                                    Form::Utf16BE, Form::Utf16LENoMark, Form::Utf16BENoMark};

inline std::string Mark(Form form) {
    const char* const marks[] = {"", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF", "", ""};
    return marks[static_cast<int>(form)];
}

// Code-page text in `form`, each byte one character, U+0000 to U+00FF; without the mark.
inline std::string Encoded(std::string_view text, Form form) {
    std::string out;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (form == Form::Ansi || (form == Form::Utf8 && c < 0x80)) out += ch;
        else if (form == Form::Utf8) out += {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
        else if (form == Form::Utf16LE || form == Form::Utf16LENoMark) out += {ch, '\0'};
        else out += {'\0', ch};
    }
    return out;
}

// An index written from lines of code-page text (without CR or LF), each with its end ("\r\n",
// "\n", "\r", or "" for a last line left open), in `form` with its mark. A first line "[Cache]"
// keeps the text from being taken for another encoding.
struct IndexLines {
    Form form;
    std::vector<std::string> lines;
    std::string bytes;
};

// A reading's entries as text of their own, to compare and to rebuild.
inline std::vector<CacheEntry> Owned(const IndexEntries& entries) {
    std::vector<CacheEntry> owned;
    for (const IndexEntry e : entries) owned.push_back({std::string(e.Key), std::string(e.RealName)});
    return owned;
}

// The first invariant that the index `bytes` break, or "" when they keep them all. With `known`,
// the lines the bytes were written from, every result must be exactly the one they foretell.
inline std::string BrokenIndexInvariant(std::string_view bytes, const std::unordered_set<std::string>& keys,
                                        CodePage& cp, const IndexLines* known = nullptr) {
    std::vector<CacheEntry> fixed, split;
    std::string filtered;
    int unreadable = 0;  // an encoding is unreadable to all three or to none
    try { fixed = Owned(ParseIndexFixed(std::string(bytes), cp)); } catch (const UnreadableIndex&) { ++unreadable; }
    try { split = Owned(ParseIndexSplit(std::string(bytes), cp)); } catch (const UnreadableIndex&) { ++unreadable; }
    try { filtered = FilterIndexText(std::string(bytes), keys, cp); } catch (const UnreadableIndex&) { ++unreadable; }
    if (unreadable == 3 && known == nullptr) return "";
    if (unreadable != 0) return "unreadable to " + std::to_string(unreadable) + " of the three readings";
    // The rest holds by the lines the text was written from; any text must still read back as it
    // was written and filter to a text that filtering keeps as it is.
    if (FilterIndexText(filtered, keys, cp) != filtered) return "the filtered text changes when filtered again";
    // Rebuilt as UTF-8 (where the entries hold no half of a UTF-16 pair), the text reads the same.
    const std::string rebuilt = BuildIndexText(fixed);
    if (IsUtf8(rebuilt, true) && Owned(ParseIndexFixed("\xEF\xBB\xBF" + rebuilt, cp)) != fixed)
        return "the rebuilt text reads otherwise";
    if (known == nullptr) return "";

    std::vector<CacheEntry> wantFixed, wantSplit;
    std::string kept = "[Cache]";
    for (const std::string& line : known->lines) {
        const std::size_t b = line.find_first_not_of(' ');
        const std::string trimmed = b == std::string::npos ? "" : line.substr(b, line.find_last_not_of(' ') + 1 - b);
        // Entries are UTF-8: each byte of a line is the character of its number (U+0000 to U+00FF).
        if (trimmed.size() >= ShortestEntryLine)
            wantFixed.push_back({Encoded(trimmed.substr(0, KeyLength), Form::Utf8),
                                 Encoded(trimmed.substr(KeyLength + 1), Form::Utf8)});
        if (const std::size_t eq = trimmed.find('='); eq != std::string::npos)
            wantSplit.push_back({Encoded(trimmed.substr(0, eq), Form::Utf8), Encoded(trimmed.substr(eq + 1), Form::Utf8)});
        // A rewrite never drops a line it was not asked to drop, and keeps its bytes.
        if (line.size() >= ShortestEntryLine && keys.count(Encoded(line.substr(0, KeyLength), Form::Utf8)) == 0)
            kept += "\r\n" + line;
    }
    if (fixed != wantFixed) return "the fixed reading differs from the lines";
    if (split != wantSplit) return "the split reading differs from the lines";
    if (filtered != Mark(known->form) + Encoded(kept + "\r\n", known->form)) return "the filtered text differs from the lines";
    return "";
}
