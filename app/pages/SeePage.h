// SPDX-License-Identifier: GPL-3.0-or-later
// The See page: a read-only preview ("veer") of the file clicked in the
// source list, framed when it is the file being edited.
#pragma once

#include <QDateTime>
#include <QWidget>

namespace talmo {

class QsciEditor;

class SeePage : public QWidget {
    Q_OBJECT
public:
    explicit SeePage(QWidget* parent = nullptr);

    // Shows the file at `path`, framed when it is the edited file; an
    // unchanged file that was shown last is not read again. Throws FileError
    // when the file cannot be read.
    void preview(const QString& path, bool edited);

private:
    QsciEditor* veer = nullptr;
    // What the preview holds, to skip re-reading an unchanged file.
    struct Stamp {
        QString path;
        QDateTime modified;
        qint64 size = -1;
        bool operator==(const Stamp&) const = default;
    };
    Stamp m_shown;
};

} // namespace talmo
