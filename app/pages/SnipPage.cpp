// SPDX-License-Identifier: GPL-3.0-or-later
#include "SnipPage.h"

#include "FileError.h"
#include "FileListBox.h"
#include "Snip.h"
#include "Text.h"
#include "TextBytes.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace talmo {

SnipPage::SnipPage(PageServices services, const QString& directory, QWidget* parent)
    : QWidget(parent), m_services(std::move(services)) {
    auto* layout = new QHBoxLayout(this);

    auto* left = new QVBoxLayout;
    xxtfilebox = named(new FileListBox(directory, QStringLiteral("*.snip")), "xxtfilebox");
    xxtfilebox->setToolTip(QStringLiteral("The *.snip files in this dir. "));
    xxtfilebox->setCursor(Qt::PointingHandCursor);
    xxtfile = lineEdit("xxtfile");
    xxtfile->setToolTip(QStringLiteral("write here the name of snif file you want"));
    salvaxss = button("salvaxss", QStringLiteral("Save"), QStringLiteral("Save as *.snip file"));
    left->addWidget(xxtfilebox, 1);
    left->addWidget(label(QStringLiteral("new snip:"), xxtfile));
    left->addWidget(xxtfile);
    left->addWidget(salvaxss);

    xxtcode = memo("xxtcode", QStringLiteral("Change or copy the text of snip here."));
    xxtcode->setLineWrapMode(QPlainTextEdit::NoWrap);
    xxtcode->setFont(fixedFont(9));
    layout->addLayout(left, 1);
    layout->addWidget(xxtcode, 3);

    connect(xxtfilebox, &QListWidget::itemClicked, this, [this] { xxtfileboxClick(); });
    connect(salvaxss, &QPushButton::clicked, this, [this] { salvaxssClick(); });
}

void SnipPage::setDirectory(const QString& directory) {
    xxtfilebox->setDirectory(directory);
}

void SnipPage::xxtfileboxClick() {
    m_services.runReportingErrors([this] {
        const QString path = xxtfilebox->selectedPath();
        if (path.isEmpty())
            throw FileError("No snip is selected");
        xxtcode->setPlainText(memoText(readSnipFile(localPath(path))));
    });
}

void SnipPage::salvaxssClick() {
    const std::optional<std::string> text = m_services.fileText(memoContents(xxtcode));
    if (!text)
        return;
    const std::vector<std::string> lines = saveSnip(
        nameBytes(xxtfile->text()), normalizeLineBreaks(*text), [this] { xxtfilebox->reread(); },
        m_services.pathInDirectory(QString()));
    for (const std::string& line : lines)
        m_services.log(nameText(line));
    xxtfile->clear();
}

} // namespace talmo
