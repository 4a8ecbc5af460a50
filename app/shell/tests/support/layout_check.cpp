#include "support/layout_check.h"

#include <QAbstractScrollArea>
#include <QFrame>
#include <QGroupBox>
#include <QWidget>

#include "shell/form.h"

namespace pxtest {

namespace {

std::string name_of(const QWidget* w) {
    std::string n = w->objectName().toStdString();
    if (n.empty()) n = std::string("(") + w->metaObject()->className() + ")";
    return n;
}

std::string rect_text(const QRect& r) {
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
           std::to_string(r.height());
}

// A control built of parts of its own (a list, an entry box, an up-down) is
// one control: its parts are the toolkit's business.
bool holds_controls(const QWidget* w) {
    if (w->objectName().startsWith("qt_")) return false;
    const char* cls = w->metaObject()->className();
    if (qobject_cast<const QGroupBox*>(w) != nullptr) return true;
    if (qobject_cast<const QAbstractScrollArea*>(w) != nullptr) return false;
    return std::string(cls) == "QWidget" || std::string(cls) == "QFrame" || dynamic_cast<const px::Form*>(w) != nullptr;
}

// A line of a drawn box: lines meet at the box's corners.
bool is_line(const QWidget* w) {
    return qobject_cast<const QFrame*>(w) != nullptr && (w->width() == 1 || w->height() == 1);
}

// A picture frame clips the picture it holds: the picture may be larger
// and move under it.
bool clips_its_content(const QWidget* w) { return w->objectName().startsWith("pic_"); }

void check_children(const std::string& form, const QWidget* parent, std::vector<std::string>& faults) {
    std::vector<const QWidget*> shown;
    for (QObject* o : parent->children()) {
        auto* w = qobject_cast<const QWidget*>(o);
        if (w == nullptr || w->isWindow() || !w->isVisible() || w->objectName().startsWith("qt_")) continue;
        if (w->width() <= 0 || w->height() <= 0) {
            faults.push_back(form + ": " + name_of(w) + " has no size (" + rect_text(w->geometry()) + ")");
            continue;
        }
        shown.push_back(w);
    }
    for (size_t i = 0; i < shown.size(); ++i) {
        const QWidget* w = shown[i];
        if (!clips_its_content(parent) && !parent->rect().contains(w->geometry()))
            faults.push_back(form + ": " + name_of(w) + " " + rect_text(w->geometry()) + " outside " + name_of(parent) +
                             " " + rect_text(parent->rect()));
        for (size_t j = i + 1; j < shown.size(); ++j) {
            const QWidget* v = shown[j];
            if (w->geometry().intersects(v->geometry()) && !(is_line(w) && is_line(v)))
                faults.push_back(form + ": " + name_of(w) + " " + rect_text(w->geometry()) + " and " + name_of(v) + " " +
                                 rect_text(v->geometry()) + " overlap");
        }
        if (holds_controls(w)) check_children(form, w, faults);
    }
}

}  // namespace

std::vector<std::string> layout_faults(const QWidget& form) {
    std::vector<std::string> faults;
    const std::string name = name_of(&form);
    const QSize frame = form.frameGeometry().size();
    if (frame.width() > px::kDesignWidth || frame.height() > px::kDesignHeight)
        faults.push_back(name + ": frame " + std::to_string(frame.width()) + "x" + std::to_string(frame.height()) +
                         " over " + std::to_string(px::kDesignWidth) + "x" + std::to_string(px::kDesignHeight));
    if (frame.width() > px::kDesignWidth || frame.height() > px::kDesignHeight) {
        // The controls that ask for the most room, to say where it goes.
        const QWidget* widest = nullptr;
        const QWidget* tallest = nullptr;
        for (const QWidget* w : form.findChildren<const QWidget*>()) {
            if (!w->isVisible() || w->isWindow()) continue;
            if (widest == nullptr || w->width() > widest->width()) widest = w;
            if (tallest == nullptr || w->height() > tallest->height()) tallest = w;
        }
        if (widest != nullptr)
            faults.back() += "; widest " + name_of(widest) + " " + rect_text(widest->geometry()) + " min " +
                             std::to_string(widest->minimumSizeHint().width()) + ", tallest " + name_of(tallest) + " " +
                             rect_text(tallest->geometry());
    }
    const QSize need = form.minimumSizeHint();
    if (form.layout() != nullptr && (need.width() > form.width() || need.height() > form.height()))
        faults.push_back(name + ": its layout needs " + std::to_string(need.width()) + "x" +
                         std::to_string(need.height()) + ", it has " + std::to_string(form.width()) + "x" +
                         std::to_string(form.height()));
    check_children(name, &form, faults);
    return faults;
}

}  // namespace pxtest
