#include "shelltree/ShellTreeFixture.h"

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

TTreeNode* ChildNamed(TTreeNode* parent, const std::string& text)
{
    for (TTreeNode* child = parent ? parent->GetFirstChild() : nullptr; child; child = child->GetNextSibling())
        if (child->Text() == text)
            return child;
    return nullptr;
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
