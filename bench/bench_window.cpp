// SPDX-License-Identifier: GPL-3.0-or-later
// The window's commands as the user meets them, through a real Form2 on Qt's
// offscreen platform: Calculate, the sixth key typed into Locator 2, and a
// large paste into a locator field. Whatever a run changes is put back with
// the timer paused, and every benchmark checks at its end that the window
// showed what it should, so that no figure comes from a run that did nothing.

#include "bench_table.h"
#include "window/form2.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstdlib>
#include <memory>

namespace {

Form2 *theForm = nullptr;

QLineEdit *field(const char *name)
{
    auto *box = theForm->findChild<QLineEdit *>(QLatin1String(name));
    if (!box)
        std::abort();
    return box;
}

QString text(const char *name)
{
    return field(name)->text();
}

void pressCalculate()
{
    theForm->findChild<QPushButton *>(QStringLiteral("Command1"))->click();
}

// What the window looked like before the run being measured: a result shown
// for another pair, so that the run has every field to write.
void showEarlierResult()
{
    field("Text1")->setText(QStringLiteral(" 1"));
    field("Text6")->setText(QStringLiteral(" 1"));
    for (const char *coordinate : { "Text2", "Text4", "Text7", "Text8" })
        field(coordinate)->setText(QStringLiteral("0"));
}

// Repaints and other posted work happen between the user's actions, not in
// the middle of the one being measured.
void settle()
{
    QCoreApplication::processEvents();
}

void expectText(benchmark::State &state, const char *name, const QString &expected)
{
    if (text(name) != expected)
        state.SkipWithError(QStringLiteral("%1 shows \"%2\", not \"%3\"")
                                .arg(QLatin1String(name), text(name), expected)
                                .toLocal8Bit()
                                .constData());
}

// Calculate pressed again with nothing changed: every field already shows
// what the run computes, so nothing is written.
void BM_CalculateSameValidPair(benchmark::State &state)
{
    field("Text3")->setText(QStringLiteral("JN81GD"));
    field("Text5")->setText(QStringLiteral("JN61FV"));
    settle();
    for (auto _ : state)
        pressCalculate();
    expectText(state, "Text1", QStringLiteral(" 285"));
    expectText(state, "Text6", QStringLiteral(" 350"));
}

// Locator 1 changed between runs: the run writes the bearing, the distance
// and two coordinates anew.
void BM_CalculateNewValidPair(benchmark::State &state)
{
    field("Text5")->setText(QStringLiteral("JN61FV"));
    bool fromLondon = false;
    for (auto _ : state) {
        state.PauseTiming();
        fromLondon = !fromLondon;
        field("Text3")->setText(fromLondon ? QStringLiteral("IO91WM") : QStringLiteral("JN81GD"));
        settle();
        state.ResumeTiming();
        pressCalculate();
    }
    expectText(state, "Text1", fromLondon ? QStringLiteral(" 133") : QStringLiteral(" 285"));
}

// A five-character Locator 2: error marks, and both locator fields emptied,
// so they are filled again before each run.
void BM_CalculateInvalidPair(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        field("Text3")->setText(QStringLiteral("JN81GD"));
        field("Text5")->setText(QStringLiteral("JN61F"));
        showEarlierResult();
        settle();
        state.ResumeTiming();
        pressCalculate();
    }
    expectText(state, "Text1", QStringLiteral("??????"));
    expectText(state, "Text6", QStringLiteral("??????"));
    expectText(state, "Text5", QString());
}

// The sixth key typed into Locator 2, from the key press until every field
// shows the result (the key's release included). A small letter arrives as
// its capital and calculates once, as a capital does.
void sixthKey(benchmark::State &state, char key)
{
    theForm->activateWindow();
    field("Text3")->setText(QStringLiteral("JN81GD"));
    field("Text5")->setFocus();
    for (auto _ : state) {
        state.PauseTiming();
        field("Text5")->setText(QStringLiteral("JN61F"));
        field("Text5")->end(false);
        showEarlierResult();
        settle();
        state.ResumeTiming();
        QTest::keyClick(field("Text5"), key);
    }
    expectText(state, "Text5", QStringLiteral("JN61FV"));
    expectText(state, "Text1", QStringLiteral(" 285"));
    expectText(state, "Text6", QStringLiteral(" 350"));
    expectText(state, "Text8", QStringLiteral("-12.4583333333333"));
}

void BM_SixthKeyCapital(benchmark::State &state)
{
    sixthKey(state, 'V');
}

void BM_SixthKeySmallLetter(benchmark::State &state)
{
    sixthKey(state, 'v');
}

// Ctrl+V into an empty Locator 2, the clipboard holding `range(0)` characters
// of the given text over and over, in small letters, which the paste
// upper-cases on its way in. The field keeps what fits (Qt's line edit holds
// at most 32767 characters).
void paste(benchmark::State &state, const QString &unit)
{
    const auto size = static_cast<qsizetype>(state.range(0));
    QString clipboardText = unit.repeated(size / unit.size() + 1);
    clipboardText.truncate(size);
    QGuiApplication::clipboard()->setText(clipboardText);
    QLineEdit *locator2 = field("Text5");
    locator2->setFocus();
    for (auto _ : state) {
        state.PauseTiming();
        locator2->clear();
        settle();
        state.ResumeTiming();
        QTest::keySequence(locator2, QKeySequence::Paste);
    }
    // What fits, each character as its capital where that is one character
    // too ("ß" has none).
    QString expected = clipboardText.left(locator2->maxLength());
    for (QChar &c : expected) {
        if (QString(c).toUpper().size() == 1)
            c = c.toUpper();
    }
    if (locator2->text() != expected)
        state.SkipWithError("the pasted text is not in Locator 2, upper-cased");
    state.SetBytesProcessed(state.iterations() * size);
    locator2->clear();
    QGuiApplication::clipboard()->clear();
    settle();
}

void BM_PasteSmallLetters(benchmark::State &state)
{
    paste(state, QStringLiteral("jn61fv io91wm "));
}

// "ß" has no capital of the same length: the field is upper-cased character
// by character.
void BM_PasteWithSharpS(benchmark::State &state)
{
    paste(state, QString::fromUtf8("stra\u00dfe jn61fv "));
}

// Five runs of each benchmark; the table takes their median.
void microseconds(benchmark::internal::Benchmark *b)
{
    b->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
}

void pasteSizes(benchmark::internal::Benchmark *b)
{
    constexpr int kib = 1024;
    b->Arg(256 * kib)->Arg(512 * kib)->Arg(1024 * kib);
    b->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_CalculateSameValidPair)->Apply(microseconds);
BENCHMARK(BM_CalculateNewValidPair)->Apply(microseconds);
BENCHMARK(BM_CalculateInvalidPair)->Apply(microseconds);
BENCHMARK(BM_SixthKeyCapital)->Apply(microseconds);
BENCHMARK(BM_SixthKeySmallLetter)->Apply(microseconds);
BENCHMARK(BM_PasteSmallLetters)->Apply(pasteSizes);
BENCHMARK(BM_PasteWithSharpS)->Apply(pasteSizes);

void pasteRow(
    const std::map<std::string, double> &results, const std::string &name, const std::string &what)
{
    using benchtable::fixed;
    const double quarterMs = benchtable::medianNs(results, name + "/262144") / 1e6;
    const double halfMs = benchtable::medianNs(results, name + "/524288") / 1e6;
    const double wholeMs = benchtable::medianNs(results, name + "/1048576") / 1e6;
    // Four times the text in at most four times the time is linear or
    // better; a quadratic step would take sixteen. A fifth more is noise.
    const double growth = wholeMs / quarterMs;
    benchtable::printRow(what, fixed(wholeMs, 2, " ms"),
        "256 KB " + fixed(quarterMs, 2, " ms") + ", 512 KB " + fixed(halfMs, 2, " ms"),
        "1 MB / 256 KB " + fixed(growth, 2, "x"), "<= 50 ms, growth <= 4x",
        wholeMs <= 50 && growth <= 4 * 1.2);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The coordinates are checked with a decimal point.
    QLocale::setDefault(QLocale::c());
    auto form = std::make_unique<Form2>();
    theForm = form.get();
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        return EXIT_FAILURE;

    const auto results = benchtable::runBenchmarks(argc, argv);

    using benchtable::fixed;
    using benchtable::printRow;
    const struct
    {
        const char *name;
        const char *what;
    } calculations[] = {
        { "BM_CalculateSameValidPair", "Calculate, same valid pair again" },
        { "BM_CalculateNewValidPair", "Calculate, new valid pair" },
        { "BM_CalculateInvalidPair", "Calculate, invalid pair" },
    };
    for (const auto &calculation : calculations) {
        const double us = benchtable::medianNs(results, calculation.name) / 1e3;
        printRow(calculation.what, fixed(us, 1, " us"), "-", "-", "<= 30 us", us <= 30);
    }
    const double capitalUs = benchtable::medianNs(results, "BM_SixthKeyCapital") / 1e3;
    printRow("sixth key to result, capital", fixed(capitalUs, 1, " us"), "-", "-", "<= 1000 us",
        capitalUs <= 1000);
    const double smallUs = benchtable::medianNs(results, "BM_SixthKeySmallLetter") / 1e3;
    printRow("sixth key to result, small letter", fixed(smallUs, 1, " us"), "-", "-", "<= 1000 us",
        smallUs <= 1000);
    pasteRow(results, "BM_PasteSmallLetters", "1 MB paste into Locator 2, small letters");
    pasteRow(results, "BM_PasteWithSharpS", "1 MB paste into Locator 2, with \u00df");
    return 0;
}
