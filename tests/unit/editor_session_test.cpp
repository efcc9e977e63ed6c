// SPDX-License-Identifier: GPL-3.0-or-later
// The edit session's rules on the in-memory editor: what a switch, a close or
// a compile writes back, outside changes, failures and recovery copies.
#include "EditSession.h"
#include "Text.h"
#include "TextModel.h"

#include "ScratchDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using talmo::EditSession;
using Kind = talmo::EditSession::Autosave::Kind;
using Change = talmo::EditSession::DiskChange;

namespace {

using talmo::testing::fileBytes;
using talmo::testing::putFile;

// A loaded file, its session and its editor, in a scratch directory.
struct Loaded {
    talmo::testing::ScratchDir dir;
    talmo::TextModel editor;
    EditSession session{editor};
    fs::path file;
    explicit Loaded(const std::string& bytes, const std::string& name = "defs.qc") {
        file = dir.path() / name;
        putFile(file, bytes);
        session.setFallbackRecoveryDirectory(dir.path() / "elsewhere");
        session.load(file);
    }
};

// Every byte but NUL, with the three kinds of line break mixed.
std::string mixedBytes() {
    std::string s = "a\r\nb\nc\rd";
    for (int b = 1; b < 256; ++b)
        s += static_cast<char>(b);
    return s;
}

} // namespace

TEST(EditSession, AnUntouchedFileIsNeverRewritten) {
    Loaded l(mixedBytes());
    const auto before = fs::last_write_time(l.file);
    EXPECT_EQ(l.session.autosave().kind, Kind::NotNeeded);
    EXPECT_EQ(fileBytes(l.file), mixedBytes());
    EXPECT_EQ(fs::last_write_time(l.file), before);
}

TEST(EditSession, TypingAndUndoingItCountsAsUntouched) {
    Loaded l("float x;\r\n");
    l.editor.typeText("y");
    EXPECT_TRUE(l.session.textChanged());
    l.editor.setSelectionStart(0);
    l.editor.setSelectionLength(1);
    l.editor.replaceSelection("");
    EXPECT_FALSE(l.session.textChanged());
}

TEST(EditSession, EditedTextIsWrittenInTheFilesLineBreakStyle) {
    struct Case {
        const char* name;
        std::string loaded;
        std::string written;
    } cases[] = {
        {"LF stays LF", "a\nb\n", "Xa\nb\n"},
        {"CR LF stays CR LF", "a\r\nb\r\n", "Xa\r\nb\r\n"},
        {"CR stays CR", "a\rb\r", "Xa\rb\r"},
        {"a tie of LF and CR LF becomes CR LF", "a\nb\r\n", "Xa\r\nb\r\n"},
        {"one CR LF among LF becomes LF", "a\nb\r\nc\n", "Xa\nb\nc\n"},
        {"bytes 0x80-0xFF kept", "\x80\xA0\xFF\n", "X\x80\xA0\xFF\n"},
    };
    for (const Case& c : cases) {
        Loaded l(c.loaded);
        l.editor.typeText("X");
        EXPECT_EQ(l.session.autosave().kind, Kind::Saved) << c.name;
        EXPECT_EQ(fileBytes(l.file), c.written) << c.name;
        EXPECT_EQ(l.session.autosave().kind, Kind::NotNeeded) << c.name << ": once written";
    }
}

TEST(EditSession, AnEmptiedEditorLeavesTheFileAsItIs) {
    Loaded l("float x;\r\n");
    l.editor.setText("");
    EXPECT_EQ(l.session.autosave().kind, Kind::Empty);
    EXPECT_EQ(fileBytes(l.file), "float x;\r\n");
}

TEST(EditSession, AnOutsideChangeToUntouchedTextIsFollowed) {
    Loaded l("first version, long enough\r\n");
    l.editor.setSelectionStart(20);
    putFile(l.file, "second\n");
    EXPECT_EQ(l.session.autosave().kind, Kind::NotNeeded);
    EXPECT_EQ(fileBytes(l.file), "second\n");
    EXPECT_EQ(l.session.followDisk(), Change::Reloaded);
    EXPECT_EQ(l.editor.text(), "second\r\n");
    EXPECT_EQ(l.editor.selectionStart(), 8) << "the caret stays where it can";
    EXPECT_EQ(l.session.followDisk(), Change::None);
    l.editor.setSelectionStart(6);
    l.editor.typeText("!");
    EXPECT_EQ(l.session.autosave().kind, Kind::Saved);
    EXPECT_EQ(fileBytes(l.file), "second!\n") << "the new version's LF style is kept";
}

TEST(EditSession, AnOutsideChangeToEditedTextKeepsBoth) {
    Loaded l("mine\r\n");
    l.editor.typeText("edited ");
    putFile(l.file, "theirs\r\n");
    EXPECT_EQ(l.session.followDisk(), Change::Conflict);
    const EditSession::Autosave a = l.session.autosave();
    EXPECT_EQ(a.kind, Kind::ChangedOnDisk);
    EXPECT_EQ(fileBytes(l.file), "theirs\r\n");
    EXPECT_EQ(a.recovery, l.dir.path() / "defs.qc.recovered");
    EXPECT_EQ(fileBytes(a.recovery), "edited mine\r\n");
}

TEST(EditSession, ATouchWithoutChangeIsNoOutsideChange) {
    Loaded l("same\r\n");
    l.editor.typeText("x");
    putFile(l.file, "same\r\n");
    EXPECT_EQ(l.session.autosave().kind, Kind::Saved);
    EXPECT_EQ(fileBytes(l.file), "xsame\r\n");
}

TEST(EditSession, AVanishedFileWithEditsIsWrittenBack) {
    Loaded l("keep\r\n");
    l.editor.typeText("x");
    fs::remove(l.file);
    EXPECT_EQ(l.session.followDisk(), Change::Vanished);
    EXPECT_EQ(l.session.autosave().kind, Kind::Saved);
    EXPECT_EQ(fileBytes(l.file), "xkeep\r\n");
}

TEST(EditSession, AFailedLoadLeavesThePreviousFileCurrent) {
    Loaded l("old\r\n");
    EXPECT_THROW(l.session.load(l.dir.path() / "missing.qc"), talmo::FileError);
    EXPECT_FALSE(l.session.failed());
    EXPECT_EQ(l.session.file(), l.file);
    EXPECT_EQ(l.editor.text(), "old\r\n");
    l.editor.typeText("x");
    EXPECT_EQ(l.session.autosave().kind, Kind::Saved) << "what is typed next is still saved";
    EXPECT_EQ(fileBytes(l.file), "xold\r\n");
}

TEST(EditSession, AFailedWriteKeepsTheTextAndBlocksTheNextAutosave) {
    Loaded l("precious\r\n");
    l.editor.typeText("more ");
    fs::remove(l.file);
    fs::create_directory(l.file); // the file's place is taken: no write can succeed
    const EditSession::Autosave first = l.session.autosave();
    EXPECT_EQ(first.kind, Kind::Failed);
    EXPECT_FALSE(first.error.empty());
    EXPECT_EQ(fileBytes(first.recovery), "more precious\r\n");
    EXPECT_TRUE(l.session.failed());
    l.editor.typeText("and more ");
    const EditSession::Autosave second = l.session.autosave();
    EXPECT_EQ(second.kind, Kind::SkippedFailed);
    EXPECT_EQ(second.recovery, l.dir.path() / "defs.qc.recovered.2") << "never over a copy";
    EXPECT_EQ(fileBytes(second.recovery), "more and more precious\r\n");
}

TEST(EditSession, RecoveryGoesToTheFallbackWhenTheDirectoryTakesNone) {
    talmo::testing::ScratchDir dir;
    const fs::path copy =
        talmo::writeRecoveryCopy(dir.path() / "no such dir" / "a.qc", "text", dir.path() / "else");
    EXPECT_EQ(copy, dir.path() / "else" / "a.qc.recovered");
    EXPECT_EQ(fileBytes(copy), "text");
}

TEST(EditSession, NonAsciiFileNamesLoadAndSave) {
    Loaded l("x\n", "\xC3\xA9t\xC3\xA9.qc");
    l.editor.typeText("y");
    EXPECT_EQ(l.session.autosave().kind, Kind::Saved);
    EXPECT_EQ(fileBytes(l.file), "yx\n");
}
