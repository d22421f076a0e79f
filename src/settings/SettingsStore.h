// The three options and where they persist: texts "0" / "1" under Software\Morvane, in the user's
// own registry key and in the machine-wide one.
#pragma once

class Registry;

enum class Option { DelFiles, AutoEmpty, AutoLaunch };

// The check boxes that hold the options while the program runs: chkDel on the main window,
// chkEmpty and chkLaunch on the options window.
class OptionBoxes {
public:
    OptionBoxes() = default;
    OptionBoxes(const OptionBoxes&) = delete;
    OptionBoxes& operator=(const OptionBoxes&) = delete;
    virtual ~OptionBoxes() = default;

    virtual int State(Option option) = 0;  // 0 clear, 1 ticked, 2 grey
    virtual void SetState(Option option, int state) = 0;
};

// The options window, which owns Load: it creates the window without showing it, then loads the
// boxes (LoadOptions), so that even a failed load leaves a window whose unloading saves them.
class OptionsWindow : public OptionBoxes {
public:
    virtual void Load() = 0;
};

constexpr const char* OptionsKeyPath = "Software\\Morvane";

// Sets the boxes in the order DelFiles, Auto-Empty, Auto-Launch, each from the user's key where it
// holds the value, otherwise from the machine-wide key; a missing value is 0. A stored value that
// is no box state (not a 16-bit number, or not 0, 1 or 2) throws Failure, and the boxes after it
// keep their states.
void LoadOptions(Registry& registry, OptionBoxes& boxes);
// Writes the three states as texts in the same order, to the user's key and to the machine-wide
// key. A user without administrator rights cannot write the latter: the user's key keeps them.
void SaveOptions(Registry& registry, OptionBoxes& boxes);
