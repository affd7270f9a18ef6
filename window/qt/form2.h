// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "window/forms_runtime.h"

#include <QWidget>

class QAbstractButton;
class QLineEdit;

// The one window on Qt: two locator fields, the distance and bearing fields,
// four hidden coordinate fields, Calculate and Exit, and the compass picture,
// built from the layout table. Controls carry their form names (Text1 to
// Text8, Command1, Command2, Label1 to Label4, Picture1) as object names and
// are found by them at each use; the fields' texts are the window's only
// state. What the window does is the handlers' business: this class only
// carries out the runtime operations they ask for and delivers its controls'
// events to them.
class Form2 : public QWidget, private window::FormsRuntime
{
    Q_OBJECT

public:
    explicit Form2(QWidget *parent = nullptr);

private:
    QLineEdit *field(std::string_view name) const;
    QAbstractButton *command(std::string_view name) const;

    std::u16string text(std::string_view box) const override;
    void assignText(std::string_view box, std::u16string_view text) override;
    void assignTextKeepingUndo(std::string_view box, std::u16string_view text) override;
    void assignSelStart(std::string_view box, std::size_t position) override;
    void press(std::string_view button) override;
    void showEmptyMessage() override;
    void unload() override;
    std::u16string decimalSeparator() const override;
};
