// SPDX-License-Identifier: GPL-3.0-or-later
// Unsaved text when something goes wrong: full disks, directories that take
// no new file, outside writes racing the autosave, files with several names
// or another owner, and the journal that outlives a crash.
#include "EditSession.h"
#include "FileWrite.h"
#include "Journal.h"
#include "PathBytes.h"
#include "Text.h"
#include "TextModel.h"

#include "ScratchDir.h"

#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using talmo::EditSession;
using talmo::WriteFault;
using Kind = talmo::EditSession::Autosave::Kind;
using talmo::testing::fileBytes;
using talmo::testing::putFile;

namespace {

// Makes writes fail by a rule for as long as it lives.
struct FaultScope {
    explicit FaultScope(talmo::WriteFaultRule rule) {
        talmo::setWriteFaultForTesting(std::move(rule));
    }
    ~FaultScope() { talmo::setWriteFaultForTesting({}); }
};

bool isUnder(const fs::path& file, const fs::path& dir) {
    return file.parent_path() == dir;
}

// A mod directory with one edited file, a data folder beside it for the
// copies that cannot go next to the file.
struct Edited {
    talmo::testing::ScratchDir scratch;
    fs::path mod = scratch.path() / "mod";
    fs::path data = scratch.path() / "data";
    fs::path file = mod / "\xC3\xB1"
                          "defs.qc";
    talmo::TextModel editor;
    EditSession session{editor};
    const std::string old = std::string("old \x80\xA0\xFF") + '\0' + "\r\n";
    Edited() {
        fs::create_directories(mod);
        putFile(file, old);
        session.setFallbackRecoveryDirectory(data / "recovered");
        session.setSafeCopyDirectory(data / "safe");
        session.load(file);
        editor.typeText("new ");
    }
    std::string typed() const { return "new " + old; }
};

std::size_t filesIn(const fs::path& dir) {
    std::error_code ec;
    std::size_t n = 0;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        ++n;
    return n;
}

} // namespace

TEST(UnsavedText, FailuresOfTheWriteKeepTheTextAndNeverHalfAFile) {
    struct Case {
        const char* name;
        // Which files fail, by where they are: the mod, the data folder.
        std::optional<WriteFault> inMod, inData;
        bool safeCopies;
        Kind kind;
        const char* fileHolds; // "old" or "new"
        bool recovered;        // a recovery copy holds the text
    };
    const WriteFault full{false, 5};
    const WriteFault noCreate{true};
    const Case cases[] = {
        {"a full disk: the file keeps its old bytes", full, {}, true, Kind::Failed, "old", true},
        {"no new file beside it: written in place", noCreate, {}, true, Kind::Saved, "new", false},
        {"in place without a safe place: not touched",
         noCreate,
         {},
         false,
         Kind::Failed,
         "old",
         true},
        {"in place without room for the copies: not touched", noCreate, full, true, Kind::Failed,
         "old", false},
        {"nothing anywhere: not kept", full, full, true, Kind::Failed, "old", false},
    };
    for (const Case& c : cases) {
        Edited e;
        if (!c.safeCopies)
            e.session.setSafeCopyDirectory({});
        FaultScope faults([&](const fs::path& p) -> std::optional<WriteFault> {
            if (isUnder(p, e.mod))
                return c.inMod;
            return c.inData;
        });
        const EditSession::Autosave a = e.session.autosave();
        EXPECT_EQ(a.kind, c.kind) << c.name << ": " << a.error;
        EXPECT_EQ(fileBytes(e.file), std::string(c.fileHolds) == "old" ? e.old : e.typed())
            << c.name;
        EXPECT_EQ(!a.recovery.empty(), c.recovered) << c.name;
        if (c.recovered) {
            EXPECT_EQ(fileBytes(a.recovery), e.typed()) << c.name;
        }
        EXPECT_EQ(a.textKept(), c.kind == Kind::Saved || c.recovered) << c.name;
        EXPECT_EQ(filesIn(e.data / "safe"), 0u) << c.name << ": no copies left behind";
    }
}

TEST(UnsavedText, AnInPlaceWriteThatFailsNamesBothCopies) {
    Edited e;
    // No new file beside it, and the disk fills while it is written in
    // place; the data folder has room for the two copies.
    FaultScope faults([&](const fs::path& p) -> std::optional<WriteFault> {
        if (isUnder(p, e.mod))
            return WriteFault{true, 3};
        return std::nullopt;
    });
    const EditSession::Autosave a = e.session.autosave();
    ASSERT_EQ(a.kind, Kind::Failed);
    const fs::path before = (e.data / "safe" / e.file.filename()) += ".before";
    const fs::path after = (e.data / "safe" / e.file.filename()) += ".after";
    EXPECT_NE(a.error.find(talmo::pathBytes(before)), std::string::npos) << a.error;
    EXPECT_NE(a.error.find(talmo::pathBytes(after)), std::string::npos) << a.error;
    EXPECT_EQ(fileBytes(before), e.old);
    EXPECT_EQ(fileBytes(after), e.typed()) << a.error;
}

TEST(UnsavedText, AnOutsideWriteDuringTheAutosaveIsNotOverwritten) {
    Edited e;
    // The other program writes once the autosave has checked the file.
    FaultScope faults([&](const fs::path& p) -> std::optional<WriteFault> {
        if (p == e.file)
            putFile(e.file, "theirs\n");
        return std::nullopt;
    });
    const EditSession::Autosave a = e.session.autosave();
    EXPECT_EQ(a.kind, Kind::ChangedOnDisk);
    EXPECT_EQ(fileBytes(e.file), "theirs\n");
    EXPECT_EQ(fileBytes(a.recovery), e.typed());
}

TEST(UnsavedText, TheSameTextIsCopiedOnceAfterAConflict) {
    Edited e;
    putFile(e.file, "theirs\n");
    const fs::path first = e.session.autosave().recovery;
    EXPECT_EQ(e.session.autosave().recovery, first) << "a second compile, the same text";
    e.editor.typeText("more ");
    const fs::path second = e.session.autosave().recovery;
    EXPECT_NE(second, first);
    EXPECT_EQ(fileBytes(first), e.typed());
    EXPECT_EQ(fileBytes(second), "new more " + e.old);
}

TEST(UnsavedText, MixedLineBreaksAreMadeUniformAndSaidOnce) {
    talmo::testing::ScratchDir dir;
    const fs::path file = dir.path() / "a.qc";
    putFile(file, "a\nb\nc\r\n");
    talmo::TextModel editor;
    EditSession session(editor);
    session.load(file);
    editor.typeText("x");
    EXPECT_EQ(session.autosave().madeUniform, talmo::LineBreak::Lf);
    editor.typeText("y");
    EXPECT_EQ(session.autosave().madeUniform, std::nullopt);
    EXPECT_EQ(fileBytes(file), "xya\nb\nc\n");
}

#ifndef _WIN32
TEST(UnsavedText, HardLinksAndTheOwnerAreKept) {
    Edited e;
    const fs::path other = e.mod / "other-name.qc";
    fs::create_hard_link(e.file, other);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(e.file.c_str(), 4321, 4321), 0);
    }
    ASSERT_EQ(e.session.autosave().kind, Kind::Saved);
    EXPECT_EQ(fileBytes(other), e.typed()) << "both names still one file";
    struct stat st {};
    ASSERT_EQ(::stat(e.file.c_str(), &st), 0);
    EXPECT_EQ(st.st_nlink, 2u);
    if (root) {
        EXPECT_EQ(st.st_uid, 4321u);
    }
    // With one name left, the replace by rename keeps the owner too.
    fs::remove(other);
    e.editor.typeText("more ");
    ASSERT_EQ(e.session.autosave().kind, Kind::Saved);
    ASSERT_EQ(::stat(e.file.c_str(), &st), 0);
    if (root) {
        EXPECT_EQ(st.st_gid, 4321u);
    }
    EXPECT_EQ(filesIn(e.data / "safe"), 0u);
}
#endif

TEST(Journal, KeepsEveryByteAndTheNameAndIsFoundByItsFolder) {
    talmo::testing::ScratchDir dir;
    talmo::JournalEntry entry;
    entry.file = dir.path() / "mod" / "sub" / "\xC3\xA9t\xC3\xA9.qc";
    entry.base = talmo::DiskStamp{12, 0xFEDCBA9876543210ull};
    entry.written = 1765000000;
    for (int b = 0; b < 256; ++b)
        entry.text += static_cast<char>(b);
    talmo::JournalEntry gone = entry;
    gone.file = dir.path() / "other" / "gone.qc";
    gone.base.reset();
    gone.written = 1;
    talmo::writeJournal(dir.path() / "journal", entry);
    talmo::writeJournal(dir.path() / "journal", gone);

    const auto found = talmo::journalsUnder(dir.path() / "journal", dir.path() / "mod");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0], entry);
    EXPECT_EQ(talmo::journalsUnder(dir.path() / "journal", dir.path()).size(), 2u);
    EXPECT_EQ(talmo::journalsUnder(dir.path() / "journal", dir.path() / "mo").size(), 0u)
        << "a folder whose name only begins the same";

    // A journal cut short (a crash while the disk wrote it) is no journal.
    const fs::path path = talmo::journalPathOf(dir.path() / "journal", entry.file);
    const std::string whole = fileBytes(path);
    putFile(path, whole.substr(0, whole.size() - 3));
    EXPECT_EQ(talmo::readJournal(path), std::nullopt);
    talmo::removeJournal(dir.path() / "journal", gone.file);
    EXPECT_TRUE(talmo::journalsUnder(dir.path() / "journal", dir.path()).empty());
}

TEST(Journal, RecoveredTextIsWrittenByTheUsualRules) {
    struct Case {
        const char* name;
        const char* diskNow; // nullptr: the file is gone
        Kind kind;
    };
    const Case cases[] = {
        {"the file as the journal left it", "base\r\n", Kind::Saved},
        {"the file changed since", "changed\r\n", Kind::ChangedOnDisk},
        {"the file is gone", nullptr, Kind::Saved},
    };
    for (const Case& c : cases) {
        Edited e;
        putFile(e.file, "base\r\n");
        e.session.load(e.file);
        e.editor.typeText("unsaved ");
        const talmo::JournalEntry entry = e.session.journalEntry(100);

        if (c.diskNow)
            putFile(e.file, c.diskNow);
        else
            fs::remove(e.file);
        talmo::TextModel editor;
        EditSession session(editor);
        session.setFallbackRecoveryDirectory(e.data);
        session.recover(entry);
        EXPECT_EQ(session.file(), entry.file) << c.name;
        EXPECT_TRUE(session.textChanged()) << c.name;
        const EditSession::Autosave a = session.autosave();
        EXPECT_EQ(a.kind, c.kind) << c.name;
        EXPECT_EQ(fileBytes(e.file), c.kind == Kind::Saved ? "unsaved base\r\n" : c.diskNow)
            << c.name;
    }
}
