// The LyricsPath index walked a folder at a time between other work, as the plug-in's lookup
// worker walks it: the same answers as a walk in one go, and the last finished walk's answers
// while the next is under way.
#include <gtest/gtest.h>

#include "lyrics/FakeLyricsEnvironment.h"

namespace {

const std::string kRoot = "D:\\Lyrics";

std::string findIn(LyricsTreeIndex& index, const FolderTree& tree, const std::string& name) {
    std::string found;
    return index.findWalked(tree, kRoot, &name, 1, found) ? found : "(none)";
}

// Walks the whole tree, pausing after every folder it lists; returns how many pauses it made.
int walkInPieces(LyricsTreeIndex& index, FakeFolderTree& tree) {
    int pauses = 0;
    while (!index.continueWalk(tree, [] { return true; })) ++pauses;
    return pauses;
}

}  // namespace

TEST(LyricsTreeIndex, AWalkInPiecesFindsWhatAWalkInOneGoFinds) {
    // Two files named a.kra: an uninterrupted walk, depth first, keeps the one in "b\\deep".
    std::map<std::string, std::string> files = {{kRoot + "\\b\\deep\\a.kra", ""},
                                                {kRoot + "\\b\\deep\\deeper\\c.lrc", ""},
                                                {kRoot + "\\c.txt", ""},
                                                {kRoot + "\\z\\a.kra", ""},
                                                {kRoot + "\\z\\song.mp3", ""}};
    FakeFolderTree tree(files);
    LyricsTreeIndex whole, pieces;
    std::string name = "A.KRA", found;
    ASSERT_EQ(whole.find(tree, kRoot, &name, 1, found), 1);

    pieces.startWalk(tree, kRoot);
    EXPECT_EQ(findIn(pieces, tree, "a.kra"), "(none)") << "nothing finished yet";
    EXPECT_EQ(walkInPieces(pieces, tree), 5) << "one pause for each of the five folders";
    EXPECT_TRUE(pieces.isCurrent(tree, kRoot));
    for (std::string asked : {"a.kra", "C.LRC", "c.txt", "song.mp3"}) {
        std::string inWhole;
        int hit = whole.findWalked(tree, kRoot, &asked, 1, inWhole);
        EXPECT_EQ(findIn(pieces, tree, asked), hit ? inWhole : "(none)") << asked;
    }
    EXPECT_EQ(findIn(pieces, tree, "a.kra"), kRoot + "\\b\\deep\\a.kra");
}

TEST(LyricsTreeIndex, WhileTheTreeIsWalkedAgainTheLastWalkAnswers) {
    std::map<std::string, std::string> files = {{kRoot + "\\x\\old.kra", ""}};
    FakeFolderTree tree(files);
    LyricsTreeIndex index;
    index.startWalk(tree, kRoot);
    walkInPieces(index, tree);

    files[kRoot + "\\y\\new.kra"] = "";
    tree.changed = 1;
    EXPECT_FALSE(index.isCurrent(tree, kRoot));
    index.startWalk(tree, kRoot);
    index.startWalk(tree, kRoot);  // a walk under way of the same folder goes on
    EXPECT_EQ(tree.walks, 2);
    ASSERT_EQ(index.continueWalk(tree, [] { return true; }), 0);
    EXPECT_EQ(findIn(index, tree, "old.kra"), kRoot + "\\x\\old.kra");
    EXPECT_EQ(findIn(index, tree, "new.kra"), "(none)");
    EXPECT_FALSE(index.isCurrent(tree, kRoot));
    walkInPieces(index, tree);
    EXPECT_EQ(findIn(index, tree, "new.kra"), kRoot + "\\y\\new.kra");
    EXPECT_TRUE(index.isCurrent(tree, kRoot));

    // Another folder: its walk replaces the one under way, and the old folder's answers are not
    // given for it.
    index.startWalk(tree, "E:\\Other");
    std::string found, name = "old.kra";
    EXPECT_EQ(index.findWalked(tree, "E:\\Other", &name, 1, found), 0);
    walkInPieces(index, tree);
    EXPECT_TRUE(index.isCurrent(tree, "E:\\Other"));
    EXPECT_FALSE(index.isCurrent(tree, kRoot));
}
