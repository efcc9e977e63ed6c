// SPDX-License-Identifier: GPL-3.0-or-later
// The working directory: what a change enters, what it leaves alone, and
// where names inside it lead.
#include "WorkingDirectory.h"

#include "ScratchDir.h"
#include "TextBytes.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

using talmo::testing::InScratchDir;
using talmo::testing::putFile;

class WorkingDirectoryTest : public InScratchDir {
protected:
    void SetUp() override {
        InScratchDir::SetUp();
        std::filesystem::create_directories(m_dir / "mod" / "sub");
        putFile(m_dir / "mod" / "defs.qc", "x");
    }
    QString native(const std::filesystem::path& p) const {
        return QDir::toNativeSeparators(talmo::pathText(p));
    }
};

TEST_F(WorkingDirectoryTest, ChangeEntersDirectoriesAndTheFolderOfAFile) {
    struct Case {
        const char* name;
        std::filesystem::path from;
        QString given; // relative names are taken from `from`
        std::filesystem::path entered;
    };
    const Case cases[] = {
        {"an absolute directory", m_dir, native(m_dir / "mod"), m_dir / "mod"},
        {"a relative directory", m_dir / "mod", QStringLiteral("sub"), m_dir / "mod" / "sub"},
        {"the parent", m_dir / "mod" / "sub", QStringLiteral(".."), m_dir / "mod"},
        {"a file names its folder", m_dir, native(m_dir / "mod" / "defs.qc"), m_dir / "mod"},
        {"a relative file", m_dir / "mod", QStringLiteral("defs.qc"), m_dir / "mod"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir::setCurrent(talmo::pathText(c.from));
        talmo::WorkingDirectory wd;
        QStringList signalled;
        QObject::connect(&wd, &talmo::WorkingDirectory::changed,
                         [&](const QString& now) { signalled << now; });
        EXPECT_TRUE(wd.change(c.given));
        EXPECT_EQ(wd.path(), native(c.entered));
        EXPECT_EQ(signalled, QStringList{native(c.entered)});
        // The programs the shell starts run there.
        EXPECT_EQ(QDir::toNativeSeparators(QDir::currentPath()), native(c.entered));
    }
}

TEST_F(WorkingDirectoryTest, WhatCannotBeEnteredLeavesEverything) {
    struct Case {
        const char* name;
        QString given;
    };
    const Case cases[] = {
        {"an empty path", QString()},
        {"a missing directory", native(m_dir / "nowhere")},
        {"the working directory itself", native(m_dir / "mod")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir::setCurrent(talmo::pathText(m_dir / "mod"));
        talmo::WorkingDirectory wd;
        int changes = 0;
        QObject::connect(&wd, &talmo::WorkingDirectory::changed, [&] { ++changes; });
        EXPECT_FALSE(wd.change(c.given));
        EXPECT_EQ(wd.path(), native(m_dir / "mod"));
        EXPECT_EQ(changes, 0);
        EXPECT_EQ(QDir::toNativeSeparators(QDir::currentPath()), native(m_dir / "mod"));
    }
}

TEST_F(WorkingDirectoryTest, NamesLeadIntoItWhateverTheProcessDirectory) {
    QDir::setCurrent(talmo::pathText(m_dir / "mod"));
    talmo::WorkingDirectory wd;
    QDir::setCurrent(talmo::pathText(m_dir));
    EXPECT_EQ(wd.filePath(QStringLiteral("qcc.bat")), m_dir / "mod" / "qcc.bat");
    EXPECT_EQ(wd.filePath(QString::fromUtf16(u"m\u00F3dulo.qc")),
              m_dir / "mod" / talmo::localPath(QString::fromUtf16(u"m\u00F3dulo.qc")));
    // An absolute name stays where it is.
    EXPECT_EQ(wd.filePath(native(m_dir / "x.qc")), m_dir / "x.qc");
    // A relative change also starts from the working directory.
    EXPECT_TRUE(wd.change(QStringLiteral("sub")));
    EXPECT_EQ(wd.path(), native(m_dir / "mod" / "sub"));
}

} // namespace
