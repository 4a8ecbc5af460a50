#include "shell/field_box.h"

#include <QLineEdit>
#include <QValidator>

#include "platform/char_cut.h"
#include "shell/codepage.h"

namespace px {

namespace {

// Refuses a text that does not fit the field or the code page.
class FieldValidator : public QValidator {
public:
    FieldValidator(int field_bytes, QObject* parent) : QValidator(parent), bytes_(field_bytes) {}

    State validate(QString& input, int&) const override {
        std::string bytes;
        if (!ansi_bytes(input, &bytes)) return Invalid;
        return bytes.size() <= static_cast<size_t>(bytes_) ? Acceptable : Invalid;
    }

private:
    int bytes_;
};

}  // namespace

bool ansi_bytes(const QString& text, std::string* bytes) {
    std::string out = to_ansi(text);
    // to_ansi writes '?' for what it cannot convert: a '?' that was not typed
    // as one is a character the code page lacks.
    bool ok = out.find('?') == std::string::npos || from_ansi(out) == text;
    if (bytes != nullptr) *bytes = std::move(out);
    return ok;
}

size_t ansi_cut_length(std::string_view bytes, size_t max) {
    return plat::char_cut_length(bytes, max, ansi_code_page() == 932);
}

std::string ansi_cut(std::string_view bytes, size_t max) {
    return std::string(bytes.substr(0, ansi_cut_length(bytes, max)));
}

QString ansi_upper(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const QChar up = c.toUpper();
        std::string was, now;
        const bool same_bytes = up != c && ansi_bytes(QString(c), &was) && ansi_bytes(QString(up), &now) &&
                                was.size() == now.size();
        out += same_bytes ? up : c;
    }
    return out;
}

void limit_to_field(QLineEdit* box, int field_bytes) {
    // A character is at least one byte: the field's bytes bound the characters.
    box->setMaxLength(field_bytes);
    std::string bytes;
    if (!ansi_bytes(box->text(), &bytes) || bytes.size() > static_cast<size_t>(field_bytes))
        box->setText(from_ansi(ansi_cut(bytes, static_cast<size_t>(field_bytes))));
    delete box->validator();
    box->setValidator(new FieldValidator(field_bytes, box));
}

}  // namespace px
