#pragma once
// A shown form holding one tree view, with the application's errors collected instead of shown.
#include "toolkit/core/Application.h"
#include "toolkit/controls/Form.h"
#include "toolkit/controls/TreeView.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <map>
#include <string>
#include <vector>

// Runs every message waiting now.
inline void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// A right click on the node's text, as the control sees one: the press is handled while the
// release already waits in the queue for the control's own mouse tracking.
inline void RightClick(TTreeView& tree, TTreeNode& node)
{
    const RECT r = node.DisplayRect(true);
    const LPARAM at = MAKELPARAM(r.left + 2, r.top + 2);
    PostMessageA(tree.Handle(), WM_RBUTTONUP, 0, at);
    SendMessageA(tree.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, at);
    PumpMessages();
}

// Texts of a node's children (the top level for null), in order.
inline std::vector<std::string> ChildTexts(TTreeView& tree, TTreeNode* parent)
{
    std::vector<std::string> texts;
    TTreeNode* child = parent ? parent->GetFirstChild() : tree.Items().GetFirstNode();
    for (; child; child = child->GetNextSibling())
        texts.push_back(child->Text());
    return texts;
}

// Adds nodes from an outline, one text a line, each leading space one level deeper than the
// line above allows; answers the nodes by their texts.
inline std::map<std::string, TTreeNode*> AddOutline(TTreeView& tree, std::initializer_list<std::string> lines)
{
    std::map<std::string, TTreeNode*> nodes;
    std::vector<TTreeNode*> path; // the last node seen at each level
    for (const std::string& line : lines) {
        const std::size_t level = line.find_first_not_of(' ');
        path.resize(level);
        const std::string text = line.substr(level);
        TTreeNode* node = tree.Items().AddChild(path.empty() ? nullptr : path.back(), text);
        nodes[text] = node;
        path.push_back(node);
    }
    return nodes;
}

class TreeViewFixture : public testing::Test {
protected:
    TreeViewFixture()
    {
        Application.OnException = [this](TObject*, const std::string& message) { errors.push_back(message); };
        form.SetBounds(40, 40, 320, 480);
        tree.SetParent(&form);
        tree.SetBounds(0, 0, 300, 440);
        form.Show();
    }
    ~TreeViewFixture() override
    {
        tree.SetParent(nullptr);
        Application.OnException = nullptr;
    }

    std::vector<std::string> ChildTexts(TTreeNode* parent) { return ::ChildTexts(tree, parent); }

    std::vector<std::string> errors;
    TForm form;
    TTreeView tree;
};
