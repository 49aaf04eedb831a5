#include "Modules/modAniWindow.h"

#include "Platform/Effects.h"
#include "Platform/Form.h"

#include <QApplication>
#include <QGuiApplication>
#include <QList>
#include <QPalette>
#include <QPointer>
#include <QScreen>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {
QList<const Form*> shrinking;
std::function<void(int, QSizeF)> stepHook;

// Whole-number division of a difference rounded to the nearest whole
// number (a half to the even one).
double halfOf(double difference) { return double(qint64(std::nearbyint(difference)) / 2); }
} // namespace

void FadeInWindow(Form* frm) {
    Effects::fadeIn(frm, 300);
    // Blended in as the active window: its activation runs now, or, while
    // the window is still loading, right after its load.
    frm->bringForward();
    frm->activateNow();
}

bool IsImploding(const Form* frm) { return shrinking.contains(frm); }

void ImplodeForm(Form* frm) {
    if (!frm || IsImploding(frm)) return;
    QPointer<Form> window(frm);
    shrinking << frm;
    QScreen* screen = frm->screen() ? frm->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    constexpr double tpp = Form::twipsPerPixel;
    const double screenWidth = area.width() * tpp, screenHeight = area.height() * tpp;
    double width = frm->width() * tpp, height = frm->height() * tpp;
    const int steps = int(height / 12);
    const bool paced = QGuiApplication::platformName() != QLatin1String("offscreen");
    for (int step = 1; step <= steps; ++step) {
        QCoreApplication::processEvents();
        if (!window || window->isUnloading()) break;
        if (width > 50 && height > 50) {
            height -= 50;
            const double top = halfOf(screenHeight - height);
            width -= 50;
            const double left = halfOf(screenWidth - width);
            frm->setGeometry(area.x() + Form::px(left), area.y() + Form::px(top), std::max(1, Form::px(width)),
                             std::max(1, Form::px(height)));
            // Each step is drawn before the next begins, and on a real
            // screen paced so the whole shrink can be seen.
            if (frm->isVisible()) frm->repaint();
            if (paced) QThread::usleep(800);
        }
        if (stepHook) stepHook(step, QSizeF(width, height));
    }
    shrinking.removeAll(frm);
    if (window) window->Unload();
}

void RemoveAnimHook(Form*) {}

int TranslateColor(int color) {
    const quint32 value = quint32(color);
    const quint32 kind = value >> 24;
    if (kind == 0x00) return int(value);
    if (kind == 0x02) return int(value & 0xFFFFFF);
    if (kind != 0x80) return 0;
    // The system colours by their index, from the desktop's palette.
    struct Role {
        QPalette::ColorGroup group;
        QPalette::ColorRole role;
    };
    static const Role roles[] = {
        {QPalette::Active, QPalette::Window},          {QPalette::Active, QPalette::Dark},
        {QPalette::Active, QPalette::Highlight},       {QPalette::Inactive, QPalette::Mid},
        {QPalette::Active, QPalette::Window},          {QPalette::Active, QPalette::Base},
        {QPalette::Active, QPalette::Shadow},          {QPalette::Active, QPalette::WindowText},
        {QPalette::Active, QPalette::Text},            {QPalette::Active, QPalette::HighlightedText},
        {QPalette::Active, QPalette::Window},          {QPalette::Inactive, QPalette::Window},
        {QPalette::Active, QPalette::Dark},            {QPalette::Active, QPalette::Highlight},
        {QPalette::Active, QPalette::HighlightedText}, {QPalette::Active, QPalette::Button},
        {QPalette::Active, QPalette::Dark},            {QPalette::Disabled, QPalette::Text},
        {QPalette::Active, QPalette::ButtonText},      {QPalette::Inactive, QPalette::HighlightedText},
        {QPalette::Active, QPalette::Light},           {QPalette::Active, QPalette::Shadow},
        {QPalette::Active, QPalette::Midlight},        {QPalette::Active, QPalette::ToolTipText},
        {QPalette::Active, QPalette::ToolTipBase},
    };
    const quint32 index = value & 0xFFFFFF;
    if (index >= std::size(roles)) return 0;
    const QColor c = QApplication::palette().color(roles[index].group, roles[index].role);
    return c.red() | (c.green() << 8) | (c.blue() << 16);
}

namespace ImplodeSeam {
void setStepHook(std::function<void(int, QSizeF)> hook) { stepHook = std::move(hook); }
} // namespace ImplodeSeam
