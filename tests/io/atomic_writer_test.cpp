#include "io/atomic_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

#include "support/test_folder.h"

namespace morvane {
namespace {

namespace fs = std::filesystem;

class OutputBatchTest : public testing::FolderTest {
  protected:
    OutputBatchTest() : FolderTest("morvane_writer") {}
    void put(const std::string& name, const std::string& bytes) const {
        testing::writeBytes(dir_ / name, bytes);
    }
};

TEST_F(OutputBatchTest, ReplacesTargetsAndTouchesNothingElse) {
    // Names an older writer used for its temporary files belong to the user now.
    put("t.dpt.tmp", "mine");
    put("r.csv.tmp~", "mine too");
    put("real.dpt", "old");
    fs::create_symlink("real.dpt", dir_ / "link.dpt");
    put("kept.csv", "old");
    ASSERT_EQ(chmod(path("kept.csv").c_str(), 0640), 0);

    OutputBatch batch;
    OutputBatch::Id id = 0;
    ASSERT_TRUE(batch.open(path("kept.csv"), &id).ok);
    ASSERT_TRUE(batch.append(id, "a,b\n").ok);
    ASSERT_TRUE(batch.append(id, "1,2\n").ok);
    ASSERT_TRUE(batch.stage(path("link.dpt"), "new world").ok);
    ASSERT_TRUE(batch.stage(path("t.dpt"), "fresh").ok);
    EXPECT_EQ(read(path("kept.csv")), "old") << "nothing is replaced before the commit";
    const WriteOutcome done = batch.commit();
    ASSERT_TRUE(done.ok) << done.reason;

    EXPECT_EQ(read(path("kept.csv")), "a,b\n1,2\n");
    EXPECT_EQ(read(path("t.dpt.tmp")), "mine");
    EXPECT_EQ(read(path("r.csv.tmp~")), "mine too");
    EXPECT_TRUE(fs::is_symlink(dir_ / "link.dpt"));
    EXPECT_EQ(read(path("real.dpt")), "new world");
    EXPECT_EQ(read(path("t.dpt")), "fresh");
    struct stat st {};
    ASSERT_EQ(stat(path("kept.csv").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    const mode_t mask = umask(0);
    umask(mask);
    ASSERT_EQ(stat(path("t.dpt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0666u & ~mask);
    EXPECT_EQ(names(), (std::set<std::string>{"t.dpt.tmp", "r.csv.tmp~", "real.dpt", "link.dpt",
                                              "kept.csv", "t.dpt"}));
}

TEST_F(OutputBatchTest, AFailureLeavesEveryTargetAsItWasAndSaysWhich) {
    put("a.csv", "old a");
    put("b.dpt", "old b");
    fs::create_directory(dir_ / "c.png");
    fs::create_symlink("a.csv", dir_ / "also_a.csv");
    {
        // A target refused while staging (how each is refused: TargetsAreCheckedBeforeAnyWork).
        OutputBatch batch;
        ASSERT_TRUE(batch.stage(path("a.csv"), "new a").ok);
        const WriteOutcome second = batch.stage(path("also_a.csv"), "new b");
        EXPECT_FALSE(second.ok);
        EXPECT_EQ(second.reason, "cannot write " + path("also_a.csv") +
                                     ": another output of the run names the same file");
        batch.discard();
        EXPECT_EQ(read(path("a.csv")), "old a");
        EXPECT_EQ(names(), (std::set<std::string>{"a.csv", "b.dpt", "c.png", "also_a.csv"}));
    }

    // A rename that fails part-way says which targets were already replaced.
    OutputBatch batch;
    ASSERT_TRUE(batch.stage(path("a.csv"), "new a").ok);
    ASSERT_TRUE(batch.stage(path("c.png"), "new c").ok);
    ASSERT_TRUE(batch.stage(path("b.dpt"), "new b").ok);
    const WriteOutcome done = batch.commit();
    EXPECT_FALSE(done.ok);
    EXPECT_EQ(done.reason, "cannot replace " + path("c.png") +
                               ": Is a directory (already replaced: " + path("a.csv") + ")");
    EXPECT_EQ(read(path("a.csv")), "new a");
    EXPECT_EQ(read(path("b.dpt")), "old b");
    EXPECT_EQ(names(), (std::set<std::string>{"a.csv", "b.dpt", "c.png", "also_a.csv"}));
}

TEST_F(OutputBatchTest, TargetsAreCheckedBeforeAnyWork) {
    put("file.csv", "x");
    fs::create_directory(dir_ / "folder");
    fs::create_directory(dir_ / "locked");
    chmod((dir_ / "locked").c_str(), 0555);
    const bool root = geteuid() == 0;  // root writes in a read-only folder all the same
    std::string a, b;
    EXPECT_TRUE(checkOutputTarget(path("file.csv"), &a).ok);
    EXPECT_TRUE(checkOutputTarget((dir_ / "folder" / ".." / "file.csv").string(), &b).ok);
    EXPECT_EQ(a, b) << "two spellings of one file share an identity";
    const struct {
        std::string target, reason;
    } rows[] = {
        {"", "cannot write: the file name is empty"},
        {path("folder"), "cannot write " + path("folder") + ": it is a folder"},
        {path("folder/"), "cannot write " + path("folder/") + ": it is a folder"},
        {path("none/x.csv"),
         "cannot write " + path("none/x.csv") + ": the folder " + path("none") + " does not exist"},
        {"/dev/null", "cannot write /dev/null: it is not a regular file"},
        {path("locked/x.csv"), "cannot write " + path("locked/x.csv") + ": the folder " +
                                   path("locked") + " cannot be written: Permission denied"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.target);
        if (root && row.target == path("locked/x.csv")) continue;
        std::string identity;
        const WriteOutcome r = checkOutputTarget(row.target, &identity);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.reason, row.reason);
    }
}

}  // namespace
}  // namespace morvane
