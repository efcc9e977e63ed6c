// SPDX-License-Identifier: GPL-3.0-or-later
// The window's own handlers on generated QuakeC-like texts in the real
// QScintilla editor: the highlighting pass, the function index, Search and
// Replace and Colorize Search of 10,000 occurrences at 1 MB and 10 MB, the
// switch between two 1 MB files, a "funcs()" run over 200 files (20 MB), and
// start-up on a directory of 10,000 files.
//
//   bench_window [benchmark options]
//   bench_window --peak-memory   loads a 10 MB file into the window and
//                                prints "peak_rss_kb N" (VmHWM)
#include "ColourChooser.h"
#include "CompileController.h"
#include "EditController.h"
#include "EditPage.h"
#include "FileListBox.h"
#include "FilePanel.h"
#include "FunctionCombo.h"
#include "LargeBuffers.h"
#include "MessageList.h"
#include "NavigationController.h"
#include "QsciEditor.h"
#include "QsciView.h"
#include "TForm1.h"

#include "bench_analysis_corpus.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "RunBenchmarks.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <string>

namespace {

namespace benchcorpus = talmo::benchcorpus;

using benchcorpus::kMegabyte;

// The window opened on a scratch directory holding `files`, which is made
// the current directory while the window lives.
class WindowOn {
public:
    explicit WindowOn(const std::vector<std::pair<QString, std::string>>& files = {})
        : m_previous(QDir::currentPath()) {
        for (const auto& [name, bytes] : files)
            write(name, bytes);
        QDir::setCurrent(m_dir.path());
        m_window = std::make_unique<TForm1>();
        m_window->setErrorReporter([this](const QString&) { ++errors; });
        m_window->show();
        QCoreApplication::processEvents();
    }
    ~WindowOn() {
        control<QCheckBox>("auto")->setChecked(false);
        m_window.reset();
        QDir::setCurrent(m_previous);
    }
    WindowOn(const WindowOn&) = delete;
    WindowOn& operator=(const WindowOn&) = delete;

    TForm1& operator*() { return *m_window; }
    TForm1* operator->() { return m_window.get(); }
    QString dir() const { return m_dir.path(); }
    // The Edit page's editor contract.
    talmo::QsciEditor* editor() {
        return m_window->findChild<talmo::QsciView*>(QStringLiteral("talmo"))->editor();
    }
    // A control of a page, by its objectName.
    template <typename T> T* control(const char* name) {
        return m_window->findChild<T*>(QString::fromLatin1(name));
    }
    // A page or controller of the window, by its type (there is one each).
    template <typename T> T* part() { return m_window->findChild<T*>(); }
    // Selects the source list's entry `name` and clicks "refresh", which
    // loads it as a double click does.
    void open(const QString& name) {
        control<talmo::FileListBox>("qclista")->selectName(name);
        control<QPushButton>("refresh")->click();
    }
    void write(const QString& name, const std::string& bytes) {
        std::ofstream(QDir(m_dir.path()).filePath(name).toStdString(), std::ios::binary) << bytes;
    }

    int errors = 0;

private:
    QTemporaryDir m_dir;
    QString m_previous;
    std::unique_ptr<TForm1> m_window;
};

std::size_t megabytesOf(const benchmark::State& state) {
    return static_cast<std::size_t>(state.range(0));
}

void setBytes(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

// "Syntax": the pass over a freshly loaded (unformatted) text each time.
void BM_SyntaxColorClick(benchmark::State& state) {
    const std::string& text = benchcorpus::source(megabytesOf(state));
    WindowOn w;
    talmo::EditPage* page = w.part<talmo::EditPage>();
    for (auto _ : state) {
        state.PauseTiming();
        w.editor()->setText(text);
        state.ResumeTiming();
        page->syntaxcolorClick();
    }
    setBytes(state, text.size());
}
BENCHMARK(BM_SyntaxColorClick)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_BuildFunctionIndex(benchmark::State& state) {
    const std::string& text = benchcorpus::source(megabytesOf(state));
    WindowOn w;
    w.editor()->setText(text);
    talmo::EditPage* page = w.part<talmo::EditPage>();
    for (auto _ : state)
        page->BuildFunctionIndex();
    state.counters["entries"] = w.control<talmo::FunctionCombo>("com")->count();
    setBytes(state, text.size());
}
BENCHMARK(BM_BuildFunctionIndex)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

// One typed character in an edited file, as the key reaches the editor:
// what a keystroke costs with the unsaved-text journal watching (its timer
// restarts; the journal itself is written later, off this thread).
void BM_Keystroke(benchmark::State& state) {
    const std::string& text = benchcorpus::source(megabytesOf(state));
    WindowOn w({{QStringLiteral("big.qc"), text}});
    w.open(QStringLiteral("big.qc"));
    w.editor()->setSelectionStart(w.editor()->length() / 2);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    for (auto _ : state) {
        QCoreApplication::sendEvent(w.editor()->view(), &press);
        QCoreApplication::processEvents();
    }
    if (w.editor()->length() != static_cast<long>(text.size() + state.iterations()))
        state.SkipWithError("the keys were not typed");
}
BENCHMARK(BM_Keystroke)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

// "Search && Replace" of 10,000 occurrences by a longer text, from the
// RSearch page; the text is put back between runs.
void BM_Button4Click_Replace10k(benchmark::State& state) {
    const std::string& text = benchcorpus::sourceWithTargets(megabytesOf(state));
    WindowOn w;
    w.control<QLineEdit>("searchfor")->setText(QStringLiteral("spawn_gib"));
    w.control<QLineEdit>("replaceby")->setText(QStringLiteral("spawn_meat"));
    for (auto _ : state) {
        state.PauseTiming();
        w.editor()->setText(text);
        w.control<QTabWidget>("Manager")->setCurrentIndex(3);
        state.ResumeTiming();
        w.control<QPushButton>("Button4")->click();
    }
    if (w.editor()->length() != static_cast<long>(text.size()) + 10000)
        state.SkipWithError("not every occurrence was replaced");
    setBytes(state, text.size());
}
BENCHMARK(BM_Button4Click_Replace10k)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

// "Colorize Search" of 10,000 occurrences in the chooser's colour.
void BM_Button3Click_Colorize10k(benchmark::State& state) {
    const std::string& text = benchcorpus::sourceWithTargets(megabytesOf(state));
    WindowOn w;
    w.control<QLineEdit>("searchfor")->setText(QStringLiteral("spawn_gib"));
    for (auto _ : state) {
        state.PauseTiming();
        w.editor()->setText(text);
        w.control<QTabWidget>("Manager")->setCurrentIndex(3);
        state.ResumeTiming();
        w.control<QPushButton>("Button3")->click();
    }
    if (w.control<QTabWidget>("Manager")->currentIndex() != 1)
        state.SkipWithError("nothing was marked");
    setBytes(state, text.size());
}
BENCHMARK(BM_Button3Click_Colorize10k)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

// The switch between two 1 MB files, autosave on: load, index and highlight
// the other file. Untouched, the file left is not written; `edited` types one
// character before each switch, so the file left is compared with its disk
// version and written back.
void runSwitch(benchmark::State& state, bool edited) {
    const std::string a = talmo::testgen::quakeCSource(kMegabyte, 2);
    const std::string b = talmo::testgen::quakeCSource(kMegabyte, 3);
    WindowOn w({{QStringLiteral("a.qc"), a}, {QStringLiteral("b.qc"), b}});
    bool toA = true;
    w.open(QStringLiteral("b.qc"));
    auto* refresh = w.control<QPushButton>("refresh");
    for (auto _ : state) {
        state.PauseTiming();
        if (edited) {
            w.editor()->setSelectionStart(0);
            w.editor()->view()->typeText(" ");
        }
        w.control<talmo::FileListBox>("qclista")->selectName(toA ? QStringLiteral("a.qc")
                                                                 : QStringLiteral("b.qc"));
        state.ResumeTiming();
        refresh->click();
        toA = !toA;
    }
    if (w.errors != 0 || w.part<talmo::EditController>()->currentFile().isEmpty())
        state.SkipWithError("a switch failed");
    setBytes(state, a.size() + b.size());
}

void BM_Switch(benchmark::State& state) {
    runSwitch(state, false);
}
BENCHMARK(BM_Switch)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_SwitchEdited(benchmark::State& state) {
    runSwitch(state, true);
}
BENCHMARK(BM_SwitchEdited)->Arg(1)->Unit(benchmark::kMillisecond);

// "funcs()" over 200 files of 100 KB until the entries are in reportlist.
void BM_GenerateReportClick(benchmark::State& state) {
    std::vector<std::pair<QString, std::string>> files;
    for (int i = 0; i < 200; ++i)
        files.emplace_back(QStringLiteral("file%1.qc").arg(i, 3, 10, QLatin1Char('0')),
                           talmo::testgen::quakeCSource(100 * 1024, static_cast<unsigned>(i + 1)));
    WindowOn w(files);
    w.control<QTabWidget>("Manager")->setCurrentIndex(3);
    auto* reportlist = w.control<QListWidget>("reportlist");
    for (auto _ : state) {
        state.PauseTiming();
        reportlist->clear();
        state.ResumeTiming();
        w.control<QPushButton>("generatereport")->click();
        QCoreApplication::processEvents(); // the list laid out and shown
    }
    state.counters["entries"] = reportlist->count();
    if (w.errors != 0 || reportlist->count() == 0)
        state.SkipWithError("the report run failed");
    setBytes(state, 200 * 100 * 1024);
}
BENCHMARK(BM_GenerateReportClick)->Arg(20)->Unit(benchmark::kMillisecond);

// Constructing and showing the window on a directory of 10,000 files.
void BM_StartUp10kFiles(benchmark::State& state) {
    QTemporaryDir dir;
    for (int i = 0; i < 10000; ++i)
        std::ofstream(QDir(dir.path())
                          .filePath(QStringLiteral("file%1.qc").arg(i, 5, 10, QLatin1Char('0')))
                          .toStdString())
            << "float x;\r\n";
    const QString previous = QDir::currentPath();
    for (auto _ : state) {
        QDir::setCurrent(dir.path());
        auto window = std::make_unique<TForm1>();
        window->show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(
            window->findChild<talmo::FileListBox*>(QStringLiteral("qclista"))->count());
        state.PauseTiming();
        if (window->findChild<talmo::FileListBox*>(QStringLiteral("qclista"))->count() != 10000)
            state.SkipWithError("the file list is incomplete");
        window.reset();
        QDir::setCurrent(previous);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUp10kFiles)->Unit(benchmark::kMillisecond);

// A mod of 150 files (5 MB) in which "mover" is used 40,200 times.
std::vector<std::pair<QString, std::string>> modWithManyUsages() {
    std::vector<std::pair<QString, std::string>> files;
    std::string progs = "progs.dat\r\n";
    for (int i = 0; i < 150; ++i) {
        const QString name = QStringLiteral("file%1.qc").arg(i);
        progs += name.toStdString() + "\r\n";
        std::string text = talmo::testgen::quakeCSource(30 * 1024, static_cast<unsigned>(i + 1));
        text += "void() uses =\r\n{\r\n";
        for (int line = 0; line < 134; ++line)
            text += "\tmover.health = mover.health - 1;\r\n";
        text += "};\r\n";
        files.emplace_back(name, std::move(text));
    }
    files.emplace_back(QStringLiteral("progs.src"), progs);
    return files;
}

// Shift+F12 on a name of 40,000 usages, until the first rows of the list are
// painted: the time the window is held, from the key to what it shows.
void BM_FindUsages40k(benchmark::State& state) {
    WindowOn w(modWithManyUsages());
    auto* navigation = w.part<talmo::NavigationController>();
    while (!navigation->indexReady())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    w.open(QStringLiteral("file0.qc"));
    w.editor()->setSelectionStart(static_cast<long>(w.editor()->text().find("mover.health")));
    auto* list = w->findChild<QWidget*>(QStringLiteral("qccmessages"));
    for (auto _ : state) {
        navigation->findUsages();
        list->repaint();
    }
    state.counters["usages"] =
        static_cast<double>(w.control<talmo::MessageList>("messagelist")->messages().size());
    if (w.control<talmo::MessageList>("messagelist")->messages().size() < 40000)
        state.SkipWithError("the usages were not all found");
}
BENCHMARK(BM_FindUsages40k)->Unit(benchmark::kMillisecond);

// A compile whose log holds 50,000 messages, from the log read to the first
// rows painted (with a file of the messages in the editor, whose lines they
// mark).
void BM_CompileMessages50k(benchmark::State& state) {
    std::string log;
    for (int i = 0; i < 50000; ++i)
        log += "file" + std::to_string(i % 150) + ".qc:" + std::to_string(i / 150 + 1) +
               (i % 10 == 0 ? ": error: " : ": warning: ") + "unused variable v" +
               std::to_string(i) + "\n";
    WindowOn w({{QStringLiteral("file0.qc"), talmo::testgen::quakeCSource(30 * 1024, 1)},
                {QStringLiteral("log"), log}});
    w.open(QStringLiteral("file0.qc"));
    auto* list = w->findChild<QWidget*>(QStringLiteral("qccmessages"));
    auto* compile = w.part<talmo::CompileController>();
    for (auto _ : state) {
        compile->readCompilerLog(w.dir(), 1);
        list->repaint();
    }
    state.counters["messages"] =
        static_cast<double>(w.control<talmo::MessageList>("messagelist")->messages().size());
    if (w.control<talmo::MessageList>("messagelist")->messages().size() != 50000)
        state.SkipWithError("the messages were not all read");
}
BENCHMARK(BM_CompileMessages50k)->Unit(benchmark::kMillisecond);

// The peak resident memory of the process after loading a 10 MB file into
// the window by a double click's switch.
int peakMemory() {
    WindowOn w;
    w.write(QStringLiteral("big.qc"), talmo::testgen::quakeCSource(10 * kMegabyte, 1));
    w.part<talmo::FilePanel>()->RefreshFileLists();
    w.open(QStringLiteral("big.qc"));
    QCoreApplication::processEvents();
    if (w.editor()->length() < static_cast<long>(10 * kMegabyte)) {
        std::fprintf(stderr, "the 10 MB file did not load\n");
        return 1;
    }
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            std::printf("peak_rss_kb %ld\n", std::strtol(line.c_str() + 6, nullptr, 10));
            return 0;
        }
    }
    std::fprintf(stderr, "no VmHWM in /proc/self/status\n");
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    // The programs keep large freed buffers for reuse from their start.
    talmo::keepLargeBuffersForReuse();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "--peak-memory") == 0)
        return peakMemory();
    return talmo::bench::runBenchmarks(argc, argv);
}
