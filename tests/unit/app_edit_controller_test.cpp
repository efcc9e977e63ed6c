// SPDX-License-Identifier: GPL-3.0-or-later
// The edit controller over the in-memory editor: a switch never loads over
// text that is nowhere else.
#include "EditController.h"

#include "FileWrite.h"
#include "ScratchDir.h"
#include "TextBytes.h"
#include "TextModel.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

using talmo::testing::fileBytes;
using talmo::testing::putFile;
using talmo::testing::ScratchDir;

TEST(EditControllerTest, ASwitchIsRefusedWhenTheTextIsNowhereElse) {
    ScratchDir mod;
    ScratchDir data;
    putFile(mod.path() / "a.qc", "a\r\n");
    putFile(mod.path() / "b.qc", "b\r\n");
    talmo::TextModel editor;
    talmo::EditController edit(editor, data.path());
    QStringList log;
    QStringList loaded;
    QObject::connect(&edit, &talmo::EditController::log, [&](const QString& l) { log << l; });
    QObject::connect(&edit, &talmo::EditController::loaded, [&](const QString& p) { loaded << p; });
    ASSERT_TRUE(edit.open(mod.path() / "a.qc"));
    editor.setSelectionStart(0);
    editor.replaceSelection("x");
    edit.textEdited();

    // A full disk everywhere: the file, the copies beside it and in the
    // data folder, the journal.
    talmo::setWriteFaultForTesting([](const std::filesystem::path&) {
        return talmo::WriteFault{false, 0};
    });
    const bool switched = edit.open(mod.path() / "b.qc");
    talmo::setWriteFaultForTesting({});
    EXPECT_FALSE(switched);
    EXPECT_EQ(edit.currentFile(), talmo::pathText(mod.path() / "a.qc"));
    EXPECT_EQ(editor.text(), "xa\r\n");
    EXPECT_EQ(loaded.size(), 1);
    ASSERT_FALSE(log.isEmpty());
    EXPECT_TRUE(log.last().startsWith(
        QStringLiteral(":: Not switched: your text could not be saved or kept: ")));

    // Once the disk has room, the text that failed goes to a copy and the
    // switch goes on.
    EXPECT_TRUE(edit.open(mod.path() / "b.qc"));
    EXPECT_EQ(edit.currentFile(), talmo::pathText(mod.path() / "b.qc"));
    EXPECT_EQ(editor.text(), "b\r\n");
    EXPECT_EQ(fileBytes(mod.path() / "a.qc.recovered"), "xa\r\n");
    EXPECT_EQ(fileBytes(mod.path() / "a.qc"), "a\r\n");
}

} // namespace
