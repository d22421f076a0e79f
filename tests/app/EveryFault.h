// Runs an action once cleanly, then once more for every file operation it performed, with exactly
// that call made to fail, and hands each outcome to a check. Shared by the tests of the un-cache
// run and of "Remove selected", whose data must survive a failure at any point.
#pragma once
#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "support/World.h"

namespace every_fault {

inline std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// A log line of the fake, "Op path" or "Op from -> to", as the operation and its lower-case paths.
struct Call {
    std::string op, first, second;
    explicit Call(const std::string& entry) : op(entry.substr(0, entry.find(' '))) {
        first = entry.substr(op.size() + 1);
        if (const std::size_t arrow = first.find(" -> "); arrow != std::string::npos) {
            second = Lower(first.substr(arrow + 4));
            first.resize(arrow);
        }
    }
};

inline FsOp OpNamed(const std::string& name) {
    for (int i = 0; i < static_cast<int>(std::size(FsOpNames)); ++i)
        if (name == FsOpNames[i]) return static_cast<FsOp>(i);
    ADD_FAILURE() << "unknown operation in the log: " << name;
    return FsOp::List;
}

// `make` builds the world up to the action (answers scripted, rows selected); `check` gets the
// world after the failing action, the clean world and the failed call's index in the clean log.
inline void ForEachFault(const std::function<std::unique_ptr<World>()>& make, const std::function<void(World&)>& act,
                         const std::function<void(World&, const World&, std::size_t)>& check) {
    const std::unique_ptr<World> clean = make();
    const std::size_t from = clean->fs.Log().size();
    act(*clean);
    const std::vector<std::string>& log = clean->fs.Log();
    ASSERT_GT(log.size(), from) << "the action performed no file operation";
    for (std::size_t i = from; i < log.size(); ++i) {
        const Call call(log[i]);
        const std::string target = Lower(call.first);
        int occurrence = 0;  // counted as the fake counts: calls of the operation naming the path
        for (std::size_t j = from; j <= i; ++j) {
            const Call c(log[j]);
            occurrence += c.op == call.op && (Lower(c.first) == target || c.second == target);
        }
        SCOPED_TRACE("failing call " + std::to_string(i - from) + ": " + log[i]);
        const std::unique_ptr<World> w = make();
        w->fs.FailOn(OpNamed(call.op), call.first, "Injected failure.", occurrence);
        act(*w);
        check(*w, *clean, i);
    }
}

// Index in the clean log of the last call that names `text`, or -1.
inline long LastCallNaming(const World& clean, const std::string& text) {
    const std::vector<std::string>& log = clean.fs.Log();
    for (std::size_t i = log.size(); i-- > 0;)
        if (Lower(log[i]).find(Lower(text)) != std::string::npos) return static_cast<long>(i);
    return -1;
}

}  // namespace every_fault
