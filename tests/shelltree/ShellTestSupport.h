#pragma once
// What the shell item tests share: a running shell item model over a fresh temporary folder,
// lists parsed by the shell itself, and a count of the task allocator's live blocks.
#include "shelltree/ShellFolder.h"
#include "shelltree/ShellModule.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>

// The absolute list of a path, as the desktop parses it; fails the test when it does not.
IdList ParsedIdList(const std::string& path);
// The relative list of a name inside a folder object, as that folder parses it.
IdList ParsedChildIdList(IShellFolder* folder, const std::string& name);
// An item for a name inside a parent item, bound as the tree binds its children.
std::unique_ptr<TShellFolder> ChildItem(TShellFolder& parent, const std::string& name);
// A path without its closing backslash (as the shell names folders).
std::string WithoutBackslash(std::string path);
// The call raises EInvalidPath with the message for a path or root text that names nothing.
void ExpectPathRefused(const std::function<void()>& call, const std::string& text);
// Runs the scenario once, so that what the shell keeps for good on first use is made, and then
// again under a task-allocation count: the second run must give back every list it made.
void ExpectEveryListGivenBack(const std::function<void()>& scenario);

class ShellItemTest : public testing::Test {
protected:
    TShellModule module;
    TempDir temp;
};

// Counts the blocks of the task allocator that were allocated while it is registered and not
// freed yet. It can also make allocations fail from a chosen one on. One at a time.
class TaskAllocationCounter {
public:
    TaskAllocationCounter();
    ~TaskAllocationCounter();
    TaskAllocationCounter(const TaskAllocationCounter&) = delete;
    TaskAllocationCounter& operator=(const TaskAllocationCounter&) = delete;

    std::size_t Live() const;
    std::size_t Made() const;
    // Allocation number n (0 = the next one) and all after it answer nothing.
    void FailFrom(std::size_t n);
    void StopFailing();

private:
    class Spy;
    Spy* spy_;
};
