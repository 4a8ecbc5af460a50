#include "shell/list_lines.h"

#include <QListWidget>

#include "shell/form.h"

namespace px {

namespace {
constexpr const char* kLineRule = "px_line_rule";
}

void on_line_double_click(Form& form, QListWidget* list, const char* procedure, std::function<void(int row)> rule) {
    list->setProperty(kLineRule, true);
    QObject::connect(list, &QListWidget::itemDoubleClicked, &form,
                     [&form, list, procedure, rule = std::move(rule)](QListWidgetItem* item) {
                         const int row = item != nullptr ? list->row(item) : -1;
                         if (row >= 0) form.run(procedure, [&] { rule(row); });
                     });
}

bool has_line_rule(const QObject* list) { return list != nullptr && list->property(kLineRule).toBool(); }

}  // namespace px
