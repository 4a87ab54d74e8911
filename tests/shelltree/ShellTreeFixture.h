#pragma once
// A shown form with one shell tree over a fresh temporary folder, with the application's errors
// collected instead of shown.
#include "shelltree/ShellTestSupport.h"
#include "shelltree/ShellTreeView.h"
#include "toolkit/core/Application.h"
#include "toolkit/controls/Form.h"
#include "toolkit/controls/TreeViewFixture.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

using Texts = std::vector<std::string>;

// Runs messages until the condition holds or about five seconds have passed; answers it.
bool PumpUntil(const std::function<bool()>& condition);
// The child of a node with that text, or null.
TTreeNode* ChildNamed(TTreeNode* parent, const std::string& text);
// The image and selected-image index the control shows for a node, asking as it paints.
std::pair<int, int> ShownIcons(TTreeView& tree, TTreeNode& node);

class ShellTreeTest : public testing::Test {
protected:
    ShellTreeTest();
    ~ShellTreeTest() override;

    // Makes the folders (one relative path a line) and shows the tree with its root there.
    void ShowTreeOver(std::initializer_list<std::string> folders);
    std::string PathOf(const std::string& relative) const { return WithoutBackslash(temp.Path() + relative); }

    TShellModule module;
    TempDir temp;
    Texts errors;
    TForm form;
    TShellTreeView tree;
};
