// SPDX-License-Identifier: GPL-3.0-or-later
// Building the window's controls with their captions, hints and initial values.
#include "TForm1.h"

#include "Batch.h"
#include "ColourChooser.h"
#include "DirectoryList.h"
#include "FileListBox.h"
#include "FilePanel.h"
#include "FunctionCombo.h"
#include "QsciEditor.h"
#include "RecoverBar.h"
#include "ReferencePages.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QTabWidget>
#include <QVBoxLayout>

using talmo::FileListBox;

namespace {

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QFont fixedFont(int points) {
    QFont f;
    f.setFamilies({QStringLiteral("Lucida Console"), QStringLiteral("DejaVu Sans Mono"),
                   QStringLiteral("Liberation Mono"), QStringLiteral("Monospace")});
    f.setStyleHint(QFont::Monospace);
    f.setPointSize(points);
    return f;
}

QFont courierFont() {
    QFont f = fixedFont(9);
    f.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
                   QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Monospace")});
    return f;
}

// The "System" face: a bold sans serif, 12 pixels high.
QFont systemFont() {
    QFont f;
    f.setFamilies({QStringLiteral("System"), QStringLiteral("DejaVu Sans"),
                   QStringLiteral("Liberation Sans"), QStringLiteral("Sans Serif")});
    f.setPixelSize(12);
    f.setBold(true);
    return f;
}

QFont listFont() {
    QFont f;
    f.setFamilies(
        {QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
    f.setPointSize(9);
    f.setBold(true);
    return f;
}

QLineEdit* lineEdit(const char* name, const QString& text = QString()) {
    auto* box = named(new QLineEdit(text), name);
    box->setMinimumWidth(36);
    return box;
}

QPushButton* button(const char* name, const QString& caption, const QString& hint = QString()) {
    auto* b = named(new QPushButton(caption), name);
    // As narrow as the caption needs, so that the bars fit the window.
    QString shown = caption;
    shown.remove(u'&');
    b->setMinimumWidth(b->fontMetrics().horizontalAdvance(shown) + 18);
    if (!hint.isEmpty())
        b->setToolTip(hint);
    return b;
}

QPlainTextEdit* memo(const char* name, const QString& hint = QString()) {
    auto* m = named(new QPlainTextEdit, name);
    if (!hint.isEmpty())
        m->setToolTip(hint);
    m->setTabChangesFocus(false);
    return m;
}

QLabel* label(const QString& text, QWidget* buddy = nullptr) {
    auto* l = new QLabel(text);
    if (buddy)
        l->setBuddy(buddy);
    return l;
}

} // namespace

void TForm1::buildLayout() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral(" :: T A L M O ::"));
    resize(657, 545);

    auto* splitter = named(new QSplitter(Qt::Horizontal), "Splitter1");
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(buildLeftPanel());

    auto* right = new QWidget;
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(2);

    HeaderControl1 = named(new QFrame, "HeaderControl1");
    HeaderControl1->setFrameShape(QFrame::StyledPanel);
    auto* header = new QHBoxLayout(HeaderControl1);
    header->setContentsMargins(4, 2, 4, 2);
    header->addStretch(1);
    qccarranca = button("qccarranca", QStringLiteral("QCC!"), QStringLiteral("Run the QCC app."));
    Button5 = button("Button5", QStringLiteral("GO!"), QStringLiteral("Run the QCC app."));
    header->addWidget(qccarranca);
    header->addWidget(Button5);
    rightLayout->addWidget(HeaderControl1);

    Manager = named(new QTabWidget, "Manager");
    Manager->addTab(buildManPage(), QStringLiteral("&Man"));
    Manager->addTab(buildEditPage(), QStringLiteral("&Edit"));
    Manager->addTab(buildSeePage(), QStringLiteral("&See"));
    Manager->addTab(buildRSearchPage(), QStringLiteral("&RSearch"));
    Manager->addTab(buildGoPage(), QStringLiteral("&Go"));
    Manager->addTab(buildSnipPage(), QStringLiteral("&Snip"));
    Manager->addTab(buildCmdPage(), QStringLiteral("&Cmd"));
    TabbedNotebook2 = talmo::createReferenceNotebook(nullptr);
    Manager->addTab(TabbedNotebook2, QStringLiteral("&Help"));
    Manager->setCurrentIndex(1);
    rightLayout->addWidget(Manager, 1);

    splitter->addWidget(right);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({129, 528});
    setCentralWidget(splitter);

    buildMenus();
}

QWidget* TForm1::buildLeftPanel() {
    m_filePanel = new talmo::FilePanel(m_startupDirectory, listFont());
    TabbedNotebook1 = m_filePanel;
    qclista = m_filePanel->sources();
    listado = m_filePanel->allFiles();
    return m_filePanel;
}

QWidget* TForm1::buildManPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);

    auto* top = new QSplitter(Qt::Horizontal);
    dir = named(new talmo::DirectoryList(m_startupDirectory), "dir");
    dir->setToolTip(QStringLiteral("Select the dir you want to work, here."));
    test = memo("test", QStringLiteral("Another edit window for general files."));
    test->setFont(systemFont());
    test->setLineWrapMode(QPlainTextEdit::NoWrap);
    top->addWidget(dir);
    top->addWidget(test);
    top->setStretchFactor(0, 1);
    top->setStretchFactor(1, 2);
    layout->addWidget(top, 1);

    auto* bar = new QGridLayout;
    FilterComboBox1 = named(new QComboBox, "FilterComboBox1");
    FilterComboBox1->addItem(QStringLiteral("All files (*.*)"), QStringLiteral("*.*"));
    FilterComboBox1->addItem(QStringLiteral("Proyect SRC."), QStringLiteral("progs.src"));
    FilterComboBox1->addItem(QStringLiteral("Text files."), QStringLiteral("*.txt"));
    FilterComboBox1->addItem(QStringLiteral("Web Docs."), QStringLiteral("*.htm*"));
    drive = named(new QComboBox, "drive");
    for (QComboBox* box : {FilterComboBox1, drive}) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(7);
    }
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady())
            drive->addItem(QDir::toNativeSeparators(volume.rootPath()), volume.rootPath());
    }
    newqc = lineEdit("newqc");
    newqc->setPlaceholderText(QStringLiteral("new .qc name"));
    create_new = button("create_new", QStringLiteral("Create New"));
    create_new->setEnabled(false);
    salvaman = button("salvaman", QStringLiteral("Save 'Man'"),
                      QStringLiteral("Save the right panel as the \"all\" selected file."));
    autosave = named(new QCheckBox(QStringLiteral("autosave edit")), "auto");
    autosave->setChecked(true);
    autosave->setToolTip(QStringLiteral("The main swich. Not touch!"));
    // Two rows: what to list on top, what to do with files below.
    bar->addWidget(FilterComboBox1, 0, 0);
    bar->addWidget(drive, 0, 1);
    bar->addWidget(autosave, 0, 2, Qt::AlignRight);
    bar->addWidget(newqc, 1, 0);
    bar->addWidget(create_new, 1, 1, Qt::AlignLeft);
    bar->addWidget(salvaman, 1, 2, Qt::AlignRight);
    bar->setColumnStretch(0, 1);
    bar->setColumnStretch(1, 1);
    layout->addLayout(bar);
    return page;
}

QWidget* TForm1::buildEditPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);

    auto* top = new QHBoxLayout;
    findedit = lineEdit("findedit");
    findedit->setToolTip(QStringLiteral("Text to find from top."));
    findedit->setPlaceholderText(QStringLiteral("find"));
    com = named(new talmo::FunctionCombo, "com");
    com->setFont(courierFont());
    com->setStyleSheet(QStringLiteral("QComboBox#com { background: silver; color: black; }"));
    top->addWidget(findedit, 1);
    top->addWidget(com, 3);
    layout->addLayout(top);

    recoverbar = new talmo::RecoverBar;
    layout->addWidget(recoverbar);

    talmo = named(new talmo::QsciEditor, "talmo");
    talmo->setEditorFont(fixedFont(9));
    // The compiler's messages under the editor, hidden while there are none.
    auto* split = new QSplitter(Qt::Vertical);
    messageList = new talmo::MessageList;
    split->addWidget(talmo);
    split->addWidget(messageList);
    split->setStretchFactor(0, 4);
    split->setStretchFactor(1, 1);
    split->setChildrenCollapsible(false);
    layout->addWidget(split, 1);

    auto* bar = new QHBoxLayout;
    editbar = named(new QLabel, "editbar");
    editbar->setFrameShape(QFrame::Panel);
    editbar->setFrameShadow(QFrame::Sunken);
    editbar->setMinimumWidth(70);
    num = lineEdit("num");
    num->setPlaceholderText(QStringLiteral("line"));
    num->setMaximumWidth(60);
    syntaxcolor = button("syntaxcolor", QStringLiteral("Syntax"));
    refresh = button("refresh", QStringLiteral("Refresh"));
    Button7 = button("Button7", QStringLiteral("Go!"));
    uptext = lineEdit("uptext");
    commander = lineEdit("commander");
    bar->addWidget(editbar);
    bar->addWidget(num);
    bar->addWidget(syntaxcolor);
    bar->addWidget(refresh);
    bar->addWidget(Button7);
    bar->addWidget(label(QStringLiteral("HEAD"), uptext));
    bar->addWidget(uptext, 1);
    bar->addWidget(label(QStringLiteral("CMD"), commander));
    bar->addWidget(commander, 1);
    layout->addLayout(bar);
    return page;
}

QWidget* TForm1::buildSeePage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    veer = named(new talmo::QsciEditor, "veer");
    veer->setEditorFont(fixedFont(9));
    veer->setReadOnly(true);
    veer->setBorder(true);
    // The system's inactive-caption-text colour as background.
    // Its text in the window's text colour, so that it reads on that paper
    // whatever the desktop's palette. The paper comes second: defining the
    // text's style puts it on the editor's white.
    const QColor text = palette().color(QPalette::Inactive, QPalette::WindowText);
    veer->setDefaultColour(talmo::Rgb{static_cast<std::uint8_t>(text.red()),
                                      static_cast<std::uint8_t>(text.green()),
                                      static_cast<std::uint8_t>(text.blue())});
    veer->setPaper(palette().color(QPalette::Inactive, QPalette::Window).lighter(104));
    layout->addWidget(veer);
    return page;
}

QWidget* TForm1::buildRSearchPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);

    Colorize = named(new QGroupBox(QStringLiteral("Colorize && Replace")), "Colorize");
    auto* grid = new QGridLayout(Colorize);
    searchfor = lineEdit("searchfor");
    ColorBox = named(new talmo::ColourChooser, "ColorBox");
    Button3 = button("Button3", QStringLiteral("Colorize Search"));
    replaceby = lineEdit("replaceby");
    Button4 = button("Button4", QStringLiteral("Search && Replace"));
    grid->addWidget(label(QStringLiteral("Search for "), searchfor), 0, 0);
    grid->addWidget(searchfor, 0, 1);
    grid->addWidget(label(QStringLiteral("and colorize"), ColorBox), 0, 2);
    grid->addWidget(ColorBox, 0, 3);
    grid->addWidget(Button3, 0, 4);
    grid->addWidget(label(QStringLiteral("and replace by"), replaceby), 1, 0);
    grid->addWidget(replaceby, 1, 1, 1, 3);
    grid->addWidget(Button4, 1, 4);
    grid->setColumnStretch(1, 1);
    layout->addWidget(Colorize);

    GroupBox1 = named(new QGroupBox(QStringLiteral("Report-Gun")), "GroupBox1");
    auto* reports = new QVBoxLayout(GroupBox1);
    reportlist = named(new QListWidget, "reportlist");
    reportlist->setFont(courierFont());
    reports->addWidget(reportlist, 1);
    auto* buttons = new QHBoxLayout;
    generatereport = button("generatereport", QStringLiteral("funcs()"));
    atribgen = button("atribgen", QStringLiteral(".atributes"));
    EditReport = button("EditReport", QStringLiteral("Edit Report"));
    buttons->addWidget(generatereport);
    buttons->addWidget(atribgen);
    buttons->addStretch(1);
    buttons->addWidget(EditReport);
    reports->addLayout(buttons);
    layout->addWidget(GroupBox1, 1);
    return page;
}

QWidget* TForm1::buildGoPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);

    auto* known = new QGroupBox(QStringLiteral("Knom Profiles"));
    auto* knownLayout = new QHBoxLayout(known);
    grupoprofiles = named(new QGroupBox(QStringLiteral("Info Abot Profiles")), "grupoprofiles");
    auto* infoLayout = new QHBoxLayout(grupoprofiles);
    profileinfo = memo("profileinfo");
    profileinfo->setReadOnly(true);
    profileinfo->setLineWrapMode(QPlainTextEdit::NoWrap);
    profileinfo->setFont(fixedFont(9));
    profileinfo->setPlainText(QStringLiteral("profileinfo"));
    profiles = named(new FileListBox(m_startupDirectory, QStringLiteral("*.qprofile")), "profiles");
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
        lineEdit("compilerqc",
                 QString::fromStdString(talmo::defaultCompiler(talmo::kNativeDialect, onPath)));
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
    return page;
}

QWidget* TForm1::buildSnipPage() {
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);

    auto* left = new QVBoxLayout;
    xxtfilebox = named(new FileListBox(m_startupDirectory, QStringLiteral("*.snip")), "xxtfilebox");
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
    return page;
}

QWidget* TForm1::buildCmdPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    log = memo("log");
    log->setReadOnly(true);
    log->setFont(systemFont());
    log->viewport()->setCursor(Qt::ArrowCursor);
    QPalette pal = log->palette();
    // The button face with the button's own text colour: black on grey in a
    // light palette, and as readable in a dark one.
    pal.setColor(QPalette::Base, palette().color(QPalette::Button));
    pal.setColor(QPalette::Text, palette().color(QPalette::ButtonText));
    log->setPalette(pal);
    log->setPlainText(QStringLiteral(" :: T A L M O ::.. \n  Console Subsystem.\n"
                                     " { This version as not real functions }\n>"));
    layout->addWidget(log, 1);

    auto* bar = new QHBoxLayout;
    cmd = lineEdit("cmd");
    cmd->setFont(systemFont());
    cmd->setStyleSheet(QStringLiteral("QLineEdit#cmd { background: silver; color: black; }"));
    help = button("help", QStringLiteral("?"));
    QFont helpFont = help->font();
    helpFont.setBold(true);
    helpFont.setPixelSize(19);
    help->setFont(helpFont);
    help->setFixedWidth(40);
    bar->addWidget(cmd, 1);
    bar->addWidget(help);
    layout->addLayout(bar);
    return page;
}

void TForm1::buildMenus() {
    auto action = [this](QMenu* menu, const char* name, const QString& caption,
                         const QKeySequence& shortcut = QKeySequence()) {
        auto* a = new QAction(caption, this);
        a->setObjectName(QString::fromLatin1(name));
        if (!shortcut.isEmpty()) {
            a->setShortcut(shortcut);
            a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        }
        menu->addAction(a);
        return a;
    };

    PopupMenu1 = named(new QMenu(this), "PopupMenu1");
    openwithnotepad1 = action(PopupMenu1, "openwithnotepad1", QStringLiteral("open with notepad"));
    delete1 = action(PopupMenu1, "delete1", QStringLiteral("delete file"));

    PopupMenu2 = named(new QMenu(this), "PopupMenu2");
    shellopen1 = action(PopupMenu2, "shellopen1", QStringLiteral("&shell open"));
    ExploreFolder1 = action(PopupMenu2, "ExploreFolder1", QStringLiteral("&Explore Folder"));

    copypastertalmo = named(new QMenu(this), "copypastertalmo");
    cut1 =
        action(copypastertalmo, "cut1", QStringLiteral("&Cut"), QKeySequence(Qt::CTRL | Qt::Key_X));
    copy1 = action(copypastertalmo, "copy1", QStringLiteral("&Copy"),
                   QKeySequence(Qt::CTRL | Qt::Key_C));
    Paste1 = action(copypastertalmo, "Paste1", QStringLiteral("&Paste"),
                    QKeySequence(Qt::CTRL | Qt::Key_V));
    copypastertalmo->addSeparator()->setObjectName(QStringLiteral("N1"));
    next1 = action(copypastertalmo, "next1", QStringLiteral("Next"), QKeySequence(Qt::Key_F3));
    help1 = action(copypastertalmo, "help1", QStringLiteral("help"), QKeySequence(Qt::Key_F1));
    // A hidden action's shortcut does not fire in Qt, so the help entry is
    // hidden only while the menu is open.
    connect(copypastertalmo, &QMenu::aboutToShow, this, [this] { help1->setVisible(false); });
    connect(copypastertalmo, &QMenu::aboutToHide, this, [this] { help1->setVisible(true); });

    // The editor's menu shortcuts act while the editor has the focus.
    talmo->addActions(copypastertalmo->actions());

    auto attach = [](QWidget* owner, QMenu* menu) {
        owner->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(owner, &QWidget::customContextMenuRequested, menu,
                [owner, menu](const QPoint& pos) { menu->popup(owner->mapToGlobal(pos)); });
    };
    attach(qclista, PopupMenu1);
    attach(listado, PopupMenu2);
    attach(talmo, copypastertalmo);
}
