#include "shelltree/ShellTreeFixture.h"

void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool PumpUntil(const std::function<bool()>& condition)
{
    for (int i = 0; i < 250; ++i) {
        PumpMessages();
        if (condition())
            return true;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return condition();
}

Texts ChildTexts(TTreeView& tree, TTreeNode* parent)
{
    Texts texts;
    TTreeNode* child = parent ? parent->GetFirstChild() : tree.Items().GetFirstNode();
    for (; child; child = child->GetNextSibling())
        texts.push_back(child->Text());
    return texts;
}

TTreeNode* ChildNamed(TTreeNode* parent, const std::string& text)
{
    for (TTreeNode* child = parent ? parent->GetFirstChild() : nullptr; child; child = child->GetNextSibling())
        if (child->Text() == text)
            return child;
    return nullptr;
}

void RightClick(TTreeView& tree, TTreeNode& node)
{
    // The press is handled while the release already waits in the queue for the control's own
    // mouse tracking.
    const RECT r = node.DisplayRect(true);
    const LPARAM at = MAKELPARAM(r.left + 2, r.top + 2);
    PostMessageA(tree.Handle(), WM_RBUTTONUP, 0, at);
    SendMessageA(tree.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, at);
    PumpMessages();
}

std::pair<int, int> ShownIcons(TTreeView& tree, TTreeNode& node)
{
    TVITEMA item{};
    item.mask = TVIF_HANDLE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = node.ItemId();
    SendMessageA(tree.Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return {item.iImage, item.iSelectedImage};
}

ShellTreeTest::ShellTreeTest()
{
    Application.OnException = [this](TObject*, const std::string& message) { errors.push_back(message); };
    form.SetBounds(40, 40, 360, 480);
    tree.SetParent(&form);
    tree.SetBounds(0, 0, 340, 440);
}

ShellTreeTest::~ShellTreeTest()
{
    Application.OnException = nullptr;
}

void ShellTreeTest::ShowTreeOver(std::initializer_list<std::string> folders)
{
    temp.MakeDir("tree");
    for (const std::string& folder : folders)
        temp.MakeDir("tree\\" + folder);
    tree.SetRoot(PathOf("tree"));
    form.Show();
    PumpMessages();
}
