#include "Modules/modResize.h"

#include "Platform/Controls.h"
#include "Platform/Form.h"

#include <QGroupBox>
#include <QRectF>
#include <QVariant>

#include <cmath>

namespace {

// What a control looked like at the window size it is scaled from.
struct Design {
    QRectF geometry;
    double widthTw = 0, heightTw = 0; // the window's size then
    double fontSize = 0;              // points; 0 for none
    double fontHeightTw = 0;          // the window's height then
    QRect placed;                     // the geometry this routine last gave it
    double placedFont = 0;            // and the font size
};

const char* const designKey = "_qem_resize_design";

Design designOf(const QWidget* w) { return w->property(designKey).value<Design>(); }
void keepDesign(QWidget* w, const Design& d) { w->setProperty(designKey, QVariant::fromValue(d)); }

bool hasFontSize(const QWidget* w) { return !qobject_cast<const Image*>(w); }

// The controls of a window: its child widgets and those inside frames and
// plain containers, but not the inner parts of composite widgets.
void collect(QWidget* parent, QList<QWidget*>& out) {
    for (QObject* o : parent->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isWindow() || w->objectName().startsWith(QLatin1String("qt_"))) continue;
        out << w;
        const QMetaObject* mo = w->metaObject();
        if (qobject_cast<QGroupBox*>(w) || mo == &QWidget::staticMetaObject || mo == &QFrame::staticMetaObject)
            collect(w, out);
    }
}

} // namespace

void ResizeControls(Form* frm, int& oldWidth, int& oldHeight) {
    if (!frm || oldWidth < 1 || oldHeight < 1) return;
    const double widthTw = double(frm->width()) * Form::twipsPerPixel;
    const double heightTw = double(frm->height()) * Form::twipsPerPixel;

    QList<QWidget*> controls;
    collect(frm, controls);
    // First note every control's design, so that no font inherited from a
    // frame scaled in this same pass is taken for a design size. A control
    // seen for the first time, or moved or given a new font by the window's
    // own code since, is taken as it is now, at the size the window had.
    for (QWidget* c : controls) {
        Design d = designOf(c);
        if (d.widthTw <= 0 || c->geometry() != d.placed) {
            d.geometry = QRectF(c->geometry());
            d.widthTw = oldWidth;
            d.heightTw = oldHeight;
            d.placed = c->geometry();
        }
        if (hasFontSize(c) && (d.fontHeightTw <= 0 || c->font().pointSizeF() != d.placedFont)) {
            d.fontSize = std::max(0.0, c->font().pointSizeF());
            d.fontHeightTw = oldHeight;
        }
        keepDesign(c, d);
    }
    for (QWidget* c : controls) {
        Design d = designOf(c);
        const double x = widthTw / d.widthTw, y = heightTw / d.heightTw;
        const QRectF& g = d.geometry;
        c->setGeometry(int(std::lround(g.x() * x)), int(std::lround(g.y() * y)), int(std::lround(g.width() * x)),
                       int(std::lround(g.height() * y)));
        d.placed = c->geometry();
        if (hasFontSize(c) && d.fontSize > 0) {
            QFont f = c->font();
            f.setPointSizeF(std::max(1.0, d.fontSize * heightTw / d.fontHeightTw));
            c->setFont(f);
            d.placedFont = c->font().pointSizeF();
        }
        keepDesign(c, d);
    }
    oldWidth = int(std::lround(widthTw));
    oldHeight = int(std::lround(heightTw));
}
