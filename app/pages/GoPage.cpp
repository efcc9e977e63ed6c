// SPDX-License-Identifier: GPL-3.0-or-later
// A profile holds file names and commands: it is text in the file-name
// encoding, as is the profile's own name.
#include "GoPage.h"

#include "Batch.h"
#include "FileError.h"
#include "FileListBox.h"
#include "Profile.h"
#include "ShellRun.h"
#include "TextBytes.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <exception>
#include <string_view>

namespace talmo {

GoPage::GoPage(PageServices services, const QString& profileDirectory, QWidget* parent)
    : QWidget(parent), m_services(std::move(services)) {
    auto* layout = new QVBoxLayout(this);

    auto* known = new QGroupBox(QStringLiteral("Knom Profiles"));
    auto* knownLayout = new QHBoxLayout(known);
    grupoprofiles = named(new QGroupBox(QStringLiteral("Info Abot Profiles")), "grupoprofiles");
    auto* infoLayout = new QHBoxLayout(grupoprofiles);
    profileinfo = memo("profileinfo");
    profileinfo->setReadOnly(true);
    profileinfo->setLineWrapMode(QPlainTextEdit::NoWrap);
    profileinfo->setFont(fixedFont(9));
    profileinfo->setPlainText(QStringLiteral("profileinfo"));
    profiles = named(new FileListBox(profileDirectory, QStringLiteral("*.qprofile")), "profiles");
    profiles->setShowDotFiles(true); // Save with an empty name writes ".qprofile"
    infoLayout->addWidget(profileinfo, 2);
    infoLayout->addWidget(profiles, 1);
    knownLayout->addWidget(grupoprofiles);
    layout->addWidget(known, 1);

    auto* operations = new QGroupBox(QStringLiteral(" Profiles Operations"));
    auto* opLayout = new QHBoxLayout(operations);
    Button1 = button("Button1", QStringLiteral("Load"));
    Button2 = button("Button2", QStringLiteral("Save"));
    savename = lineEdit("savename", QStringLiteral("default.qprofile"));
    opLayout->addWidget(Button1);
    opLayout->addWidget(label(QStringLiteral("|")));
    opLayout->addWidget(Button2);
    opLayout->addWidget(label(QStringLiteral("as .qprofile name "), savename));
    opLayout->addWidget(savename, 1);
    layout->addWidget(operations);

    auto* project = new QGroupBox(QStringLiteral("Project"));
    auto* form = new QFormLayout(project);
    QFont boxFont = fixedFont(9);
    boxFont.setBold(true);
    const auto onPath = [](std::string_view program) {
        return !QStandardPaths::findExecutable(
                    QString::fromLatin1(program.data(), static_cast<qsizetype>(program.size())))
                    .isEmpty();
    };
    compilerqc =
        lineEdit("compilerqc", QString::fromStdString(defaultCompiler(kNativeDialect, onPath)));
    pathsrc = lineEdit("pathsrc");
    pathquake = lineEdit("pathquake");
    namequake = lineEdit("namequake");
    namemod = lineEdit("namemod");
    paramsquake = lineEdit("paramsquake");
    const std::pair<const char*, QLineEdit*> rows[] = {
        {"qc compiler", compilerqc}, {"path src", pathsrc}, {"path", pathquake},
        {"quake exe", namequake},    {"modname", namemod},  {"args", paramsquake},
    };
    for (const auto& [caption, box] : rows) {
        box->setFont(boxFont);
        form->addRow(label(QString::fromLatin1(caption), box), box);
    }
    layout->addWidget(project);

    connect(profiles, &QListWidget::itemClicked, this, [this] { profilesClick(); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    onKeyPress(pathsrc, [this](char key) { pathsrcKeyPress(key); });
}

QString GoPage::compiler() const {
    return compilerqc->text();
}

void GoPage::setSourcePath(const QString& directory) {
    pathsrc->setText(directory);
}

void GoPage::profilesClick() {
    const QString path = profiles->selectedPath();
    try {
        if (path.isEmpty())
            throw FileError("No profile is selected");
        const std::string text = readProfileFile(localPath(path));
        profileinfo->setPlainText(settingsText(profileMemoText(text)));
        grupoprofiles->setTitle(profiles->selectedName());
    } catch (const std::exception&) {
        m_services.log(QStringLiteral("Cant open profile file!"));
    }
}

void GoPage::Button2Click() {
    // The rule for the name works on the name's characters; UTF-8 keeps them all.
    const QString name = nameText(profileFileName(nameBytes(savename->text())));
    grupoprofiles->setTitle(name);
    const ProfileSettings settings{nameBytes(name),
                                   nameBytes(compilerqc->text()),
                                   nameBytes(pathsrc->text()),
                                   nameBytes(pathquake->text()),
                                   nameBytes(namequake->text()),
                                   nameBytes(namemod->text()),
                                   nameBytes(paramsquake->text())};
    profileinfo->setPlainText(settingsText(profileMemoText(composeProfileText(settings))));
    try {
        writeProfileFile(m_services.pathInDirectory(name), settings);
        m_services.log(QStringLiteral("qprofile saved"));
    } catch (const std::exception&) {
        m_services.log(QStringLiteral("cant save profile!"));
    }
    // Shows a profile saved into the list's directory.
    profiles->reread();
}

void GoPage::Button1Click() {
    try {
        const ProfileSettings p = readProfileValues(nameBytes(memoContents(profileinfo)));
        const QString name = nameText(p.configFile);
        m_services.log(QStringLiteral("Loading ") + name);
        grupoprofiles->setTitle(name);
        compilerqc->setText(nameText(p.compiler));
        pathsrc->setText(nameText(p.pathSrc));
        pathquake->setText(nameText(p.pathExe));
        namequake->setText(nameText(p.quakeExe));
        namemod->setText(nameText(p.modName));
        paramsquake->setText(nameText(p.params));
        savename->setText(name);
    } catch (const std::exception&) {
        m_services.log(QStringLiteral("Corrupt qprofile file!!!"));
    }
}

void GoPage::pathsrcKeyPress(char key) {
    if (key == '\r' && !pathsrc->text().isEmpty())
        emit directoryEntered(pathsrc->text());
}

void GoPage::goClick() {
    emit gameWanted({commandText(pathquake->text()), commandText(namequake->text()),
                     commandText(namemod->text()), commandText(paramsquake->text())});
}

} // namespace talmo
