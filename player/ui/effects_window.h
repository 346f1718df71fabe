#pragma once
// The effect window "Настройка эффектов": one tab per channel effect of the main window,
// each parameter a name label, a scroll bar whose hint describes it and a label with the
// value passed to the sound library. Every scroll bar of a tab runs the tab's parameter
// handler, which pushes the whole record to the effect the main window keeps for that tab
// (through a stale or zero handle too: the sound library then refuses it quietly).
#include <QLabel>
#include <QScrollBar>
#include <QTabWidget>
#include <QWidget>
#include <vector>

class TForm1;

class TForm5 : public QWidget {
    Q_OBJECT
public:
    // A window of its own, owned by the main window; tabs disabled, values at their defaults.
    explicit TForm5(TForm1& form1);

    // The creation step: per effect in order, the switch from the settings store onto the
    // main window's check box (whose handler shows this window), then the effect's
    // parameters onto the scroll bars; then the window hides again.
    void FormCreate();

    // The parameter handler of a tab (ScrollBar1Change, ScrollBar8Change, ScrollBar14Change,
    // ScrollBar19Change, ScrollBar24Change, ScrollBar31Change, ScrollBar33Change for the
    // effects in table order): every value label refreshed, the record pushed.
    void ParameterChange(std::size_t effect);

    // The scroll-bar positions of an effect, in table order: what the close stores.
    std::vector<int> Positions(std::size_t effect) const;

    QTabWidget* PageControl1;  // TabSheet1 ... TabSheet7
    // ScrollBar1 ... ScrollBar36 and their value labels, in table order.
    std::vector<QScrollBar*> ScrollBars;
    std::vector<QLabel*> ValueLabels;

private:
    void CreateTab(std::size_t effect);
    // The first scroll bar of an effect in ScrollBars.
    std::size_t FirstBar(std::size_t effect) const;

    TForm1& form1_;
};
