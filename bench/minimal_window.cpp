// The yardstick for Orvanta's start-up: a bare Qt 6 window with the widgets Orvanta's window shows when
// it first appears (3 line edits, an editable combo box, a list, 4 buttons, 9 labels, 4 lines and a
// picture label), with the same captions at the same places, in one font, but nothing else: no core, no
// data file, no picture, no events wired, and none of the widgets the first screen hides, which Orvanta
// makes only once the window is on the screen. The font is Orvanta's window font, the design's face
// as Linux has it (IPA P Gothic, 9 pt), as the bare Win32 window uses the design's face: both yardsticks
// show their captions in the face Orvanta shows them in, not in a default face that would load a Japanese
// one only to paint.
#include "OrvantaVersion.h"
#include "view/qt/Fonts.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

/// A place in the design's units (1/15 pixel), as pixels.
QRect place(int left, int top, int width, int height)
{
    return {left / 15, top / 15, width / 15, height / 15};
}

class Line : public QWidget {
public:
    Line(QPoint from, QPoint to, QWidget* parent) : QWidget(parent), m_from(from), m_to(to)
    {
        setGeometry(QRect(from, to).normalized().adjusted(0, 0, 1, 1));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.drawLine(m_from - pos(), m_to - pos());
    }

private:
    QPoint m_from;
    QPoint m_to;
};

template <typename W> W* add(QWidget* window, QRect where, const QString& text = {})
{
    auto* widget = new W(window);
    widget->setGeometry(where);
    if constexpr (requires { widget->setText(text); })
        widget->setText(text);
    return widget;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.setFont(orvanta::view::windowFont());
    window.setWindowTitle(u"Orvanta (" ORVANTA_VERSION_TEXT ")\u3000Orvanta 工房 https://orvanta.example/"_s);
    window.setFixedSize(8145 / 15, 5340 / 15);

    add<QLabel>(&window, place(0, 0, 8175, 5295)); // the picture's place, left empty

    add<QLineEdit>(&window, place(480, 3960, 7215, 270));
    auto* combo = add<QComboBox>(&window, place(840, 960, 6495, 300));
    combo->setEditable(true);
    add<QListWidget>(&window, place(840, 1560, 6495, 420));
    add<QPushButton>(&window, place(840, 3480, 1095, 375), u"登録モードヘ"_s);
    add<QPushButton>(&window, place(6360, 3480, 975, 375), u"ロード"_s);
    add<QPushButton>(&window, place(5040, 3480, 975, 375), u"バックアップ"_s);
    add<QPushButton>(&window, place(6360, 2400, 975, 255), u"クリップ"_s);
    add<QLineEdit>(&window, place(840, 2400, 6495, 270));
    add<QLineEdit>(&window, place(840, 3120, 6495, 270));

    add<QLabel>(&window, place(480, 720, 4935, 255), u"登録先（プロダクト名）"_s);
    add<QLabel>(&window, place(480, 1320, 4935, 375), u"登録ID名"_s);
    add<QLabel>(&window, place(480, 2160, 5175, 255), u"パスワード"_s);
    add<QLabel>(&window, place(480, 2880, 2895, 255), u"パスワード登録時メールアドレス"_s);
    add<QLabel>(&window, place(240, 240, 3315, 360), u"Orvanta"_s);
    add<QLabel>(&window, place(4800, 720, 2535, 255), u"https://orvanta.example/"_s);
    add<QLabel>(&window, place(1320, 4800, 6375, 255),
                u"パスワード管理の Orvanta は Orvanta 工房 がお届けしています。"_s);
    add<QLabel>(&window, place(480, 4440, 1455, 255), u"F1：ヘルプ表示"_s);
    add<QLabel>(&window, place(1440, 4920, 5415, 255));

    new Line({1320 / 15, 2280 / 15}, {7440 / 15, 2280 / 15}, &window);
    new Line({720 / 15, 2400 / 15}, {720 / 15, 2760 / 15}, &window);
    new Line({720 / 15, 2760 / 15}, {7440 / 15, 2760 / 15}, &window);
    new Line({7440 / 15, 2280 / 15}, {7440 / 15, 2760 / 15}, &window);

    window.show();
    return QApplication::exec();
}
