// SPDX-License-Identifier: GPL-3.0-or-later
#include "SeePage.h"

#include "PageControls.h"
#include "QsciEditor.h"
#include "QsciView.h"
#include "TextBytes.h"

#include <QFileInfo>
#include <QVBoxLayout>

namespace talmo {

SeePage::SeePage(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    auto* view = named(new QsciView, "veer");
    view->setEditorFont(fixedFont(9));
    view->setReadOnly(true);
    view->setBorder(true);
    veer = view->editor();
    // The system's inactive-caption-text colour as background.
    // Its text in the window's text colour, so that it reads on that paper
    // whatever the desktop's palette. The paper comes second: defining the
    // text's style puts it on the editor's white.
    const QColor text = palette().color(QPalette::Inactive, QPalette::WindowText);
    veer->setDefaultColour(Rgb{static_cast<std::uint8_t>(text.red()),
                               static_cast<std::uint8_t>(text.green()),
                               static_cast<std::uint8_t>(text.blue())});
    view->setPaper(palette().color(QPalette::Inactive, QPalette::Window).lighter(104));
    layout->addWidget(view);
}

void SeePage::preview(const QString& path, bool edited) {
    // A click on another entry previews it twice in a row (click, then
    // selection change): read a file only once while it is unchanged.
    const QFileInfo info(path);
    const Stamp stamp{path, info.lastModified(), info.size()};
    if (!(stamp == m_shown) || !info.isReadable()) {
        m_shown = Stamp{};
        veer->loadFromFile(localPath(path));
        m_shown = stamp;
    }
    veer->view()->setBorder(edited);
}

} // namespace talmo
