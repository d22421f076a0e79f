// The fixer window's behaviour: the scan that compares cache.ini with the cache folder
// (RefreshLists), the inspection of one entry or physical file, and the repairs. frmFix shows it
// through FixView; the main window is reached only through FixerHost.
#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "cache/CacheIndex.h"
#include "fixer/FixView.h"

class Clipboard;
class CodePage;
class DateFormatter;
class FileSystem;
class FixerHost;
class Prompts;
class SizeFormatter;

struct FixPorts {
    FileSystem& files;
    Prompts& prompts;
    Clipboard& clipboard;
    SizeFormatter& sizes;
    DateFormatter& dates;
    CodePage& codePage;
};

class Fix {
public:
    Fix(FixView& view, FixerHost& host, FixPorts ports) : view_(view), host_(host), ports_(ports) {}
    Fix(const Fix&) = delete;
    Fix& operator=(const Fix&) = delete;

    // Rebuilds the lists, cmbHex and the summary from cache.ini and one listing of the cache
    // folder. Runs when the window opens, on "Refresh All" and after every repair.
    void RefreshLists();
    void cmdRefresh_Click() { RefreshLists(); }

    // Selecting: each shows what its row stands for; a list without a selected row does nothing.
    void cmbHex_Change();  // cmbHex_Click as well
    void lstOK_Click();
    void lstFiles_Click();
    void lstCache_Click();

    // Repairs, each followed by a fresh scan.
    void cmdSave_Click();
    void cmdDelCache_Click();
    void cmdDelHex_Click();

    // The window closes: the main window lists the cache again.
    void Form_QueryUnload();

private:
    template <typename Action>
    void Step(Action action);
    void ReadIndex(const std::string& folder);
    void FillLists();
    void AddRow(FixList list, std::size_t stands, std::string_view text);
    std::size_t Selected(FixList list);
    bool Shows(FixList list, const std::string& realName) const;
    void SelectHex(const std::string& file);
    void ShowDetails(const std::string& file);
    bool CanBind(const std::string& file, const std::string& key, const std::string& name);
    bool AskReplace(const char* why);
    long Edit(const IndexEdit& edit);
    void Warn(const std::string& text, const char* title);

    FixView& view_;
    FixerHost& host_;
    FixPorts ports_;
    // The last scan's state: the entries of cache.ini in file order (IniKeys, IniNames; entry k is
    // slot k - 1) and the listing of the cache folder (CacheFiles).
    IndexEntries ini_;
    std::vector<std::string> cacheFiles_;
    // What each row of a list stands for: an entry number for lstOK and lstCache, a slot of the
    // listing for lstFiles and cmbHex. Indexed by FixList.
    std::array<std::vector<std::size_t>, 4> rows_;
};
