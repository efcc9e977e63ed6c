// Project profiles (the Go page) and snippets (the Snip page). File texts are
// 8-bit: their bytes show one byte one character in the memos and go back
// the same way; file names stay the platform's own.
#include "TForm1.h"

#include "TextBytes.h"

#include "Editor.h"
#include "FileListBox.h"
#include "Profile.h"
#include "Snip.h"
#include "Text.h"

#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <exception>

using talmo::fromLatin1;
using talmo::latin1;
using talmo::localPath;

namespace {

// A profile's lines as the memo shows them: the break that ends the last
// line makes no empty line of its own.
QString profileMemoText(const std::string& crlfText) {
    QString text = talmo::memoText(crlfText);
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
    const QString name =
        QString::fromStdString(talmo::profileFileName(savename->text().toStdString()));
    grupoprofiles->setTitle(name);
    const talmo::ProfileSettings settings{latin1(name),
                                          latin1(compilerqc->text()),
                                          latin1(pathsrc->text()),
                                          latin1(pathquake->text()),
                                          latin1(namequake->text()),
                                          latin1(namemod->text()),
                                          latin1(paramsquake->text())};
    profileinfo->setPlainText(profileMemoText(talmo::composeProfileText(settings)));
    try {
        talmo::writeProfileFile(localPath(name), settings);
        LogLine(QStringLiteral("qprofile saved"));
    } catch (const std::exception&) {
        LogLine(QStringLiteral("cant save profile!"));
    }
    // Shows a profile saved into the list's directory; this makes the
    // start-up directory current again.
    profiles->reread();
}

void TForm1::Button1Click() {
    try {
        const talmo::ProfileSettings p =
            talmo::readProfileValues(latin1(profileinfo->toPlainText()));
        const QString name = fromLatin1(p.configFile);
        LogLine(QStringLiteral("Loading ") + name);
        grupoprofiles->setTitle(name);
        compilerqc->setText(fromLatin1(p.compiler));
        pathsrc->setText(fromLatin1(p.pathSrc));
        pathquake->setText(fromLatin1(p.pathExe));
        namequake->setText(fromLatin1(p.quakeExe));
        namemod->setText(fromLatin1(p.modName));
        paramsquake->setText(fromLatin1(p.params));
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
    const QByteArray name = QFile::encodeName(xxtfile->text());
    const std::vector<std::string> lines =
        talmo::saveSnip(name.toStdString(), talmo::memoBytes(xxtcode->toPlainText()),
                        [this] { xxtfilebox->reread(); });
    for (const std::string& line : lines)
        LogLine(QFile::decodeName(QByteArray::fromStdString(line)));
    xxtfile->clear();
}
