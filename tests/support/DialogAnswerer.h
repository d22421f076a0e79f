// Answers the message boxes and dialogs that the code under test shows on this thread, in the
// order expected, from a thread timer that every modal loop dispatches. Whatever it finds is
// recorded, so tests assert titles, texts and default buttons as the user would meet them.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class DialogAnswerer {
public:
    // `text`: a message box's, empty for other dialogs; `defaultButton`: the one drawn as default.
    struct Seen { std::string title, text; int defaultButton; };
    DialogAnswerer();
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    // The next dialog must be titled `title`; `before` may work its controls, then `button` is
    // pressed (0: none, `before` answers it; a key it posts is handled before the next tick).
    DialogAnswerer& Expect(std::string title, int button, std::function<void(HWND)> before = {});
    // "title: first line of text" of each dialog met, for compact assertions.
    std::vector<std::string> Titles() const;

    std::vector<Seen> seen;
    HWND ignored = nullptr;  // never answered: the main window under test

private:
    struct Step { std::string title; int button; std::function<void(HWND)> before; };
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) noexcept;
    void Answer(HWND dialog);

    std::vector<Step> steps_;
    std::size_t next_ = 0;
    UINT_PTR timer_;
};

// A window's text in UTF-8, read with the W call and apart from the program's own GetText, so that
// a fault of either shows.
std::string WindowText(HWND window);
// Pumps messages (with dialog handling for `dialog`) for about `ms` milliseconds.
void PumpFor(DWORD ms, HWND dialog = nullptr);
