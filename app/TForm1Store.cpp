// SPDX-License-Identifier: GPL-3.0-or-later
// Project profiles (the Go page) and snippets (the Snip page). A snippet is
// 8-bit text: its bytes show one byte one character in the memo and go back
// the same way. A profile holds file names and commands: it is text in the
// file-name encoding, as are the profile's own name and the snippet names.
#include "TForm1.h"

#include "TextBytes.h"

#include "Editor.h"
#include "FileListBox.h"
#include "Profile.h"
#include "Snip.h"
#include "Text.h"
#include "WorkingDirectory.h"

#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <exception>

using talmo::localPath;
using talmo::nameBytes;
using talmo::nameText;

namespace {

// A profile's lines as the memo shows them: the break that ends the last
// line makes no empty line of its own.
QString profileMemoText(const std::string& crlfText) {
    QString text = talmo::settingsText(crlfText);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text;
}

} // namespace

void TForm1::wireStore() {
    connect(profiles, &QListWidget::itemClicked, this, [this] { profilesClick(); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(xxtfilebox, &QListWidget::itemClicked, this, [this] { xxtfileboxClick(); });
    connect(salvaxss, &QPushButton::clicked, this, [this] { salvaxssClick(); });
}

void TForm1::profilesClick() {
    const QString path = profiles->selectedPath();
    try {
        if (path.isEmpty())
            throw talmo::FileError("No profile is selected");
        const std::string text = talmo::readProfileFile(localPath(path));
        profileinfo->setPlainText(profileMemoText(text));
        grupoprofiles->setTitle(profiles->selectedName());
    } catch (const std::exception&) {
        LogLine(QStringLiteral("Cant open profile file!"));
    }
}

void TForm1::Button2Click() {
    // The rule for the name works on the name's characters; UTF-8 keeps them all.
    const QString name = nameText(talmo::profileFileName(nameBytes(savename->text())));
    grupoprofiles->setTitle(name);
    const talmo::ProfileSettings settings{nameBytes(name),
                                          nameBytes(compilerqc->text()),
                                          nameBytes(pathsrc->text()),
                                          nameBytes(pathquake->text()),
                                          nameBytes(namequake->text()),
                                          nameBytes(namemod->text()),
                                          nameBytes(paramsquake->text())};
    profileinfo->setPlainText(profileMemoText(talmo::composeProfileText(settings)));
    try {
        talmo::writeProfileFile(m_workingDirectory->filePath(name), settings);
        LogLine(QStringLiteral("qprofile saved"));
    } catch (const std::exception&) {
        LogLine(QStringLiteral("cant save profile!"));
    }
    // Shows a profile saved into the list's directory.
    profiles->reread();
}

void TForm1::Button1Click() {
    try {
        const talmo::ProfileSettings p =
            talmo::readProfileValues(nameBytes(talmo::memoContents(profileinfo)));
        const QString name = nameText(p.configFile);
        LogLine(QStringLiteral("Loading ") + name);
        grupoprofiles->setTitle(name);
        compilerqc->setText(nameText(p.compiler));
        pathsrc->setText(nameText(p.pathSrc));
        pathquake->setText(nameText(p.pathExe));
        namequake->setText(nameText(p.quakeExe));
        namemod->setText(nameText(p.modName));
        paramsquake->setText(nameText(p.params));
        savename->setText(name);
    } catch (const std::exception&) {
        LogLine(QStringLiteral("Corrupt qprofile file!!!"));
    }
}

void TForm1::xxtfileboxClick() {
    runReportingErrors([this] {
        const QString path = xxtfilebox->selectedPath();
        if (path.isEmpty())
            throw talmo::FileError("No snip is selected");
        xxtcode->setPlainText(talmo::memoText(talmo::readSnipFile(localPath(path))));
    });
}

void TForm1::salvaxssClick() {
    const std::optional<std::string> text = fileText(talmo::memoContents(xxtcode));
    if (!text)
        return;
    const std::vector<std::string> lines = talmo::saveSnip(
        nameBytes(xxtfile->text()), talmo::normalizeLineBreaks(*text),
        [this] { xxtfilebox->reread(); }, m_workingDirectory->filePath(std::filesystem::path()));
    for (const std::string& line : lines)
        LogLine(talmo::nameText(line));
    xxtfile->clear();
}
