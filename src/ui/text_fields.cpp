#include "ui/text_fields.h"

#include <QLineEdit>

#include "ui/texts.h"

namespace cw::ui {

bool fitsCp1250(const QString& text, std::size_t capacity) {
    return toCp1250(text).size() <= capacity;
}

Cp1250Capacity::Cp1250Capacity(std::size_t capacity, QObject* parent) : QValidator(parent), capacity_(capacity) {}

QValidator::State Cp1250Capacity::validate(QString& input, int& /*position*/) const {
    return fitsCp1250(input, capacity_) ? Acceptable : Invalid;
}

void limitToCp1250(QLineEdit* field, std::size_t capacity) { field->setValidator(new Cp1250Capacity(capacity, field)); }

}  // namespace cw::ui
