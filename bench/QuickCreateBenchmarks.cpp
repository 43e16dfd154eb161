// The quick-add screen over 5,000 calendar files: one keystroke that moves the
// new event to another day, through the parse, the draft, the fetch of that
// day's events and the layout, to a painted screen, must fit within one frame.
#include "ScreenEnvironment.h"
#include "VdirGenerator.h"

#include "core/Date.h"
#include "platform/eventstore/vdir/VdirEventStore.h"
#include "platform/privacy/FakePrivacy.h"
#include "quickadd/QuickCreateModel.h"
#include "quickadd/QuickCreateView.h"
#include "quickadd/QuickInputField.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLayout>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

// 5,000 one-event files a year either side of today, read by the real store.
struct CalendarFiles {
    QTemporaryDir dir;
    platform::FakePrivacy privacy;
    std::unique_ptr<platform::vdir::VdirEventStore> ek;
    std::unique_ptr<testsupport::ScreenServices> screen;

    CalendarFiles() {
        const QString root = dir.path() + QStringLiteral("/calendars");
        bench::generateVdir(root, core::Date::now());
        ek = std::make_unique<platform::vdir::VdirEventStore>(privacy, root);
        screen = std::make_unique<testsupport::ScreenServices>(*ek);
    }
};

CalendarFiles& files() {
    static CalendarFiles calendarFiles;
    return calendarFiles;
}

// One keystroke in the line: the digit of "in 2 days" selected and typed over
// with the other of two, so that every press moves the event to another day.
// Argument 0: days inside the store's loaded window (about 1,250 events, ~14 a
// day); 1: days outside it, fetched from the files. Each press is followed by
// the layout and a paint of the whole screen.
void BM_KeystrokeToPaintedPreview(benchmark::State& state) {
    CalendarFiles& c = files();
    const bool outside = state.range(0) != 0;
    const QString line =
        outside ? QStringLiteral("Lunch with Sam in 200 days 1pm") : QStringLiteral("Lunch with Sam in 2 days 1pm");
    const QString digits = QStringLiteral("23");
    const int digitAt = static_cast<int>(line.indexOf(QStringLiteral(" in ")) + 4);

    QWidget window;
    auto* view = new quickadd::QuickCreateView(c.screen->environment, &window);
    window.resize(364, 700);
    window.show();
    QCoreApplication::processEvents();
    quickadd::QuickInputField* field = view->field();
    field->setText(line);
    view->model().setText(line);
    QImage image(QSize(364, 700), QImage::Format_ARGB32_Premultiplied);

    int turn = 0;
    int rows = 0;
    for (auto _ : state) {
        const QString digit = digits.mid(++turn % 2, 1);
        field->setSelection(digitAt, 1);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_0 + digit.toInt(), Qt::NoModifier, digit);
        QApplication::sendEvent(field, &press);
        view->layout()->activate();
        view->resize(364, view->sizeHint().height());
        view->render(&image);
        rows = static_cast<int>(view->model().dayEvents().size());
    }
    state.counters["dayEvents"] = rows;
    state.counters["windowEvents"] = static_cast<double>(c.screen->store.events().size());
}
BENCHMARK(BM_KeystrokeToPaintedPreview)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The parse and the draft alone for a line that fills the field (32,767
// characters), done once per change of the line.
void BM_FullFieldParse(benchmark::State& state) {
    CalendarFiles& c = files();
    quickadd::QuickCreateModel model(c.screen->store, c.screen->appState, c.screen->settings);
    QString line;
    while (line.size() < 32767)
        line += QStringLiteral("Standup tomorrow 9:30 for 15m at the office /work ");
    line.truncate(32767);
    int turn = 0;
    for (auto _ : state) {
        line[0] = (++turn % 2) != 0 ? QLatin1Char('S') : QLatin1Char('s');
        model.setText(line);
    }
}
BENCHMARK(BM_FullFieldParse)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::printf("Events in the loaded window: %zu\n", files().screen->store.events().size());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return EXIT_SUCCESS;
}
