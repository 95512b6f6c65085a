#pragma once
// Text fields whose values the project stores: each holds no more than the project keeps of it,
// counted in Windows-1250 bytes by the core's converter, so that nothing typed or pasted is cut
// when it is stored. Typing past the capacity does nothing; a paste that would not fit is refused.
#include <QString>
#include <QValidator>
#include <cstddef>

class QLineEdit;

namespace cw::ui {

// True when the text, written in Windows-1250, takes at most `capacity` bytes.
bool fitsCp1250(const QString& text, std::size_t capacity);

class Cp1250Capacity : public QValidator {
    Q_OBJECT
public:
    Cp1250Capacity(std::size_t capacity, QObject* parent);
    State validate(QString& input, int& position) const override;
    std::size_t capacity() const { return capacity_; }

private:
    std::size_t capacity_;
};

// Limits the field to `capacity` Windows-1250 bytes.
void limitToCp1250(QLineEdit* field, std::size_t capacity);

}  // namespace cw::ui
