// The worker thread's synchronised calls, its errors, its end, and the lock it shares with the
// GUI thread.
#include "toolkit/core/Application.h"
#include "toolkit/core/ApplicationWindow.h"
#include "toolkit/core/CriticalSection.h"
#include "toolkit/core/Exception.h"
#include "toolkit/core/WorkerThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

namespace {
// Collects what reaches the application's error handler for the length of a test.
class CollectedErrors {
public:
    CollectedErrors()
    {
        Application.OnException = [this](TObject*, const std::string& message) { messages.push_back(message); };
    }
    ~CollectedErrors() { Application.OnException = nullptr; }
    std::vector<std::string> messages;
};
} // namespace

TEST(ApplicationWindow, OneHiddenTopLevelWindowOfThisThread)
{
    const HWND window = ApplicationWindow();
    ASSERT_TRUE(IsWindow(window));
    EXPECT_EQ(ApplicationWindow(), window);
    EXPECT_EQ(GetAncestor(window, GA_ROOT), window);
    EXPECT_EQ(GetParent(window), nullptr);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(GetWindowThreadProcessId(window, nullptr), GetCurrentThreadId());

    // From its own thread a call runs at once, and its error comes straight through.
    bool ran = false;
    CallOnApplicationThread([&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_THROW(CallOnApplicationThread([] { throw EConvertError("at once"); }), EConvertError);
}

TEST(WorkerThread, SynchronizedCallRunsOnTheGuiThreadWhileTheWorkerWaits)
{
    const DWORD gui = GetCurrentThreadId();
    DWORD ranOn = 0;
    DWORD workerId = 0;
    std::vector<std::string> steps;
    TWorkerThread worker([&](TWorkerThread& self) {
        workerId = GetCurrentThreadId();
        self.Synchronize([&] {
            ranOn = GetCurrentThreadId();
            Sleep(50); // a worker that did not wait would step in meanwhile
            steps.push_back("call");
        });
        steps.push_back("worker after the call");
    });
    worker.WaitFor();
    EXPECT_TRUE(worker.Finished());
    EXPECT_EQ(ranOn, gui);
    EXPECT_NE(workerId, gui);
    EXPECT_EQ(steps, (std::vector<std::string>{"call", "worker after the call"}));
}

TEST(WorkerThread, ErrorOfTheCallComesBackToTheWorker)
{
    CollectedErrors errors;
    std::string caught;
    TWorkerThread worker([&](TWorkerThread& self) {
        try {
            self.Synchronize([] { throw EConvertError("'x' is not a valid integer value"); });
        } catch (const EConvertError& e) {
            caught = e.Message();
        }
    });
    worker.WaitFor();
    EXPECT_EQ(caught, "'x' is not a valid integer value");
    EXPECT_TRUE(errors.messages.empty());
}

TEST(WorkerThread, ErrorThatEndsTheBodyIsRaisedByWaitForOnce)
{
    CollectedErrors errors;
    {
        TWorkerThread worker([](TWorkerThread&) { throw Exception("watching stopped"); });
        try {
            worker.WaitFor();
            ADD_FAILURE() << "the body's error was lost";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), "watching stopped");
        }
        EXPECT_NO_THROW(worker.WaitFor());
    }
    EXPECT_TRUE(errors.messages.empty()) << "a collected error is not reported twice";
}

TEST(WorkerThread, UncollectedErrorGoesToTheApplicationsHandler)
{
    CollectedErrors errors;
    {
        TWorkerThread worker([](TWorkerThread&) { throw Exception("nobody waited"); });
    }
    EXPECT_EQ(errors.messages, std::vector<std::string>{"nobody waited"});
}

TEST(WorkerThread, EndingAWorkerThatKeepsCallingStopsIt)
{
    std::atomic<int> calls{0};
    std::atomic<bool> sawTerminated{false};
    {
        TWorkerThread worker([&](TWorkerThread& self) {
            while (!self.Terminated())
                self.Synchronize([&] { ++calls; });
            sawTerminated = true;
        });
        // Let it get going; the calls wait for this thread, which is not listening yet.
        Sleep(20);
    } // asks it to stop and answers its pending call meanwhile
    EXPECT_TRUE(sawTerminated);
    EXPECT_GE(calls.load(), 1);
}

TEST(CriticalSection, HeldOnOneThreadKeepsTheOtherOut)
{
    TCriticalSection section;
    const HANDLE taken = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> tryOnWorker{true};
    {
        TWorkerThread worker([&](TWorkerThread&) {
            std::lock_guard hold(section);
            SetEvent(taken);
            WaitForSingleObject(release, 5000);
        });
        ASSERT_EQ(WaitForSingleObject(taken, 5000), WAIT_OBJECT_0);
        EXPECT_FALSE(section.try_lock()) << "held by the worker";
        SetEvent(release);
        worker.WaitFor();
        TWorkerThread second([&](TWorkerThread&) { tryOnWorker = section.try_lock(); });
        std::lock_guard hold(section);
        second.WaitFor();
    }
    EXPECT_FALSE(tryOnWorker) << "held by this thread";
    EXPECT_TRUE(section.try_lock());
    section.unlock();
    CloseHandle(taken);
    CloseHandle(release);
}
