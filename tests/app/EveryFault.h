// Runs an action once cleanly, then once more for every file operation it performed, with exactly
// that call made to fail, and hands each outcome to a check. Shared by the tests whose data must
// survive a failure at any point: the un-cache run's, "Remove selected"'s, the fixer's and launcher
// mode's.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace every_fault {

// `make` builds a world (anything with a FakeFileSystem `fs`) up to the action: answers scripted,
// rows selected. `check` gets the world after the failing action, the clean world and the failed
// call's index in the clean log. With `alike`, every later call of the failed one's operation on
// its path fails as well, so that what should put things right after the failure fails too.
template <typename Make, typename Act, typename Check>
void ForEachFault(const Make& make, const Act& act, const Check& check, bool alike = false) {
    const auto clean = make();
    const std::size_t from = clean->fs.Log().size();
    act(*clean);
    const std::vector<std::string>& log = clean->fs.Log();
    ASSERT_GT(log.size(), from) << "the action performed no file operation";
    for (std::size_t i = from; i < log.size(); ++i) {
        SCOPED_TRACE("failing call " + std::to_string(i - from) + ": " + log[i]);
        const auto w = make();
        w->fs.FailCall(i, alike);
        act(*w);
        check(*w, *clean, i);
    }
}

// Index in the clean log of the last call that names `text`, or -1.
template <typename W>
long LastCallNaming(const W& clean, const std::string& text) {
    const std::vector<std::string>& log = clean.fs.Log();
    for (std::size_t i = log.size(); i-- > 0;)
        if (log[i].find(text) != std::string::npos) return static_cast<long>(i);
    return -1;
}

}  // namespace every_fault
