#include "download/DownloadQueue.h"

#include <gtest/gtest.h>

namespace ballotine {
namespace {

DownloadQueue QueueOf(std::initializer_list<const char*> names) {
    DownloadQueue queue;
    for (const char* name : names) {
        queue.Append(name, "http://host/file", "N/A", "/tmp/file", 10, 1, "key", false);
    }
    return queue;
}

TEST(DownloadQueue, EmptyQueueHasNoCurrentItemAndAnswersEmpty) {
    DownloadQueue queue;
    queue.Rewind();
    EXPECT_FALSE(queue.HasCurrent());
    EXPECT_EQ(queue.GetStatus(), StatusNone);
    EXPECT_EQ(queue.GetSize(), 0);
    EXPECT_EQ(queue.GetName(), "");
    EXPECT_FALSE(queue.Advance());
    EXPECT_FALSE(queue.FindByName("anything"));
    queue.SetStatus(StatusPending); // nothing to change, nothing to crash
    EXPECT_EQ(queue.GetCount(), 0);
}

TEST(DownloadQueue, AppendKeepsEveryFieldAndLeavesTheCursor) {
    DownloadQueue queue;
    queue.Rewind();
    ASSERT_TRUE(queue.Append("2fort", "http://a/2fort.zip", "http://b/2fort.zip", "/tmp/2fort.zip",
                             123456, 7, "2fort", true));
    EXPECT_FALSE(queue.HasCurrent()) << "Append moved the cursor";
    queue.Rewind();
    EXPECT_EQ(queue.GetName(), "2fort");
    EXPECT_EQ(queue.GetUrl(), "http://a/2fort.zip");
    EXPECT_EQ(queue.GetAltUrl(), "http://b/2fort.zip");
    EXPECT_EQ(queue.GetLocalPath(), "/tmp/2fort.zip");
    EXPECT_EQ(queue.GetSize(), 123456);
    EXPECT_EQ(queue.GetVersion(), 7);
    EXPECT_EQ(queue.GetPackageKey(), "2fort");
    EXPECT_TRUE(queue.IsFullPackage());
    EXPECT_EQ(queue.GetStatus(), StatusNone);

    queue.Clear();
    EXPECT_EQ(queue.GetCount(), 0);
    EXPECT_EQ(queue.GetName(), "");
}

TEST(DownloadQueue, AdvanceStopsOnTheLastItem) {
    DownloadQueue queue = QueueOf({"one", "two", "three"});
    queue.Rewind();
    EXPECT_TRUE(queue.Advance());
    EXPECT_TRUE(queue.Advance());
    EXPECT_EQ(queue.GetName(), "three");
    EXPECT_FALSE(queue.Advance());
    EXPECT_EQ(queue.GetName(), "three");
}

TEST(DownloadQueue, FindByNameIgnoresCaseTakesTheFirstAndKeepsTheCursorOnAMiss) {
    DownloadQueue queue = QueueOf({"Alpha", "Beta", "beta"});
    queue.Rewind();
    queue.SetStatus(StatusPending);
    ASSERT_TRUE(queue.FindByName("BETA"));
    queue.SetStatus(StatusDownloaded);
    EXPECT_FALSE(queue.FindByName("gamma"));
    queue.SetStatus(StatusFailed); // still on the first "Beta"

    queue.Rewind();
    EXPECT_EQ(queue.GetStatus(), StatusPending);
    queue.Advance();
    EXPECT_EQ(queue.GetStatus(), StatusFailed);
    queue.Advance();
    EXPECT_EQ(queue.GetStatus(), StatusNone);
}

} // namespace
} // namespace ballotine
