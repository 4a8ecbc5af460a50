#include "shell/list_lines.h"

#include <QAbstractItemView>

#include "shell/form.h"

namespace px {

namespace {
constexpr const char* kLineRule = "px_line_rule";
}

void on_line_double_click(Form& form, QAbstractItemView* list, const char* procedure, std::function<void(int row)> rule) {
    list->setProperty(kLineRule, true);
    QObject::connect(list, &QAbstractItemView::doubleClicked, &form,
                     [&form, procedure, rule = std::move(rule)](const QModelIndex& index) {
                         if (index.isValid()) form.run(procedure, [&] { rule(index.row()); });
                     });
}

bool has_line_rule(const QObject* list) { return list != nullptr && list->property(kLineRule).toBool(); }

}  // namespace px
