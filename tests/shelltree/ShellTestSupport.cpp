#include "shelltree/ShellTestSupport.h"

#include "shelltree/ShellNamespace.h"
#include "toolkit/core/CriticalSection.h"
#include "toolkit/core/PathText.h"

#include <objidl.h>

#include <atomic>
#include <limits>

IdList ParsedIdList(const std::string& path)
{
    IdList list;
    std::wstring wide = AnsiToWide(path);
    const HRESULT status = DesktopFolderObject()->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr,
                                                                   ReceiveIdList(list), nullptr);
    EXPECT_EQ(status, S_OK) << path;
    return list;
}

IdList ParsedChildIdList(IShellFolder* folder, const std::string& name)
{
    IdList list;
    std::wstring wide = AnsiToWide(name);
    const HRESULT status = folder->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, ReceiveIdList(list), nullptr);
    EXPECT_EQ(status, S_OK) << name;
    return list;
}

std::unique_ptr<TShellFolder> ChildItem(TShellFolder& parent, const std::string& name)
{
    const IdList list = ParsedChildIdList(parent.FolderObject(), name);
    return std::make_unique<TShellFolder>(&parent, BindChildFolder(parent.FolderObject(), Pidl(list), nullptr),
                                          Pidl(list));
}

std::string WithoutBackslash(std::string path)
{
    if (!path.empty() && path.back() == '\\')
        path.pop_back();
    return path;
}

void ExpectPathRefused(const std::function<void()>& call, const std::string& text)
{
    try {
        call();
        ADD_FAILURE() << "\"" << text << "\" was accepted";
    } catch (const EInvalidPath& e) {
        EXPECT_EQ(e.Message(), "Error setting path: \"" + text + "\"");
    }
}

void ExpectEveryListGivenBack(const std::function<void()>& scenario)
{
    scenario();
    TaskAllocationCounter counter;
    scenario();
    EXPECT_GT(counter.Made(), 0u) << "the count saw no allocation at all";
    EXPECT_EQ(counter.Live(), 0u);
}

// The spy COM calls around every task allocation. It lives as long as COM holds it: a revoke
// with blocks still out is finished by COM later.
class TaskAllocationCounter::Spy final : public IMallocSpy {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IMallocSpy) {
            *out = static_cast<IMallocSpy*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --refs_;
        if (left == 0)
            delete this;
        return left;
    }

    SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T bytes) override
    {
        std::lock_guard lock(section_);
        if (made_ >= failFrom_)
            return 0; // COM answers nothing for a request the spy cut to no bytes
        ++made_;
        return bytes;
    }
    void* STDMETHODCALLTYPE PostAlloc(void* block) override
    {
        std::lock_guard lock(section_);
        if (block)
            live_.insert(block);
        return block;
    }
    void* STDMETHODCALLTYPE PreFree(void* block, BOOL spied) override
    {
        std::lock_guard lock(section_);
        if (spied)
            live_.erase(block);
        return block;
    }
    void STDMETHODCALLTYPE PostFree(BOOL) override {}
    SIZE_T STDMETHODCALLTYPE PreRealloc(void* block, SIZE_T bytes, void** newBlock, BOOL spied) override
    {
        std::lock_guard lock(section_);
        if (spied)
            live_.erase(block);
        *newBlock = block;
        return bytes;
    }
    void* STDMETHODCALLTYPE PostRealloc(void* block, BOOL) override
    {
        std::lock_guard lock(section_);
        if (block)
            live_.insert(block);
        return block;
    }
    void* STDMETHODCALLTYPE PreGetSize(void* block, BOOL) override { return block; }
    SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T size, BOOL) override { return size; }
    void* STDMETHODCALLTYPE PreDidAlloc(void* block, BOOL) override { return block; }
    int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int actual) override { return actual; }
    void STDMETHODCALLTYPE PreHeapMinimize() override {}
    void STDMETHODCALLTYPE PostHeapMinimize() override {}

    std::size_t Live()
    {
        std::lock_guard lock(section_);
        return live_.size();
    }
    std::size_t Made()
    {
        std::lock_guard lock(section_);
        return made_;
    }
    void FailFrom(std::size_t n)
    {
        std::lock_guard lock(section_);
        failFrom_ = made_ + n;
    }

private:
    ~Spy() = default;

    std::atomic<ULONG> refs_{1};
    TCriticalSection section_;
    std::set<void*> live_;
    std::size_t made_ = 0;
    std::size_t failFrom_ = std::numeric_limits<std::size_t>::max();
};

TaskAllocationCounter::TaskAllocationCounter() : spy_(new Spy)
{
    const HRESULT status = CoRegisterMallocSpy(spy_);
    if (FAILED(status)) {
        spy_->Release();
        throw std::runtime_error("CoRegisterMallocSpy failed");
    }
}

TaskAllocationCounter::~TaskAllocationCounter()
{
    CoRevokeMallocSpy();
    spy_->Release();
}

std::size_t TaskAllocationCounter::Live() const
{
    return spy_->Live();
}

std::size_t TaskAllocationCounter::Made() const
{
    return spy_->Made();
}

void TaskAllocationCounter::FailFrom(std::size_t n)
{
    spy_->FailFrom(n);
}

void TaskAllocationCounter::StopFailing()
{
    spy_->FailFrom(std::numeric_limits<std::size_t>::max() / 2);
}
