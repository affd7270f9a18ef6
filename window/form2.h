#pragma once

#include <QWidget>

class QAbstractButton;
class QLineEdit;

// The one window: two locator fields, the distance and bearing fields, four
// hidden coordinate fields, Calculate and Exit, and the compass picture.
// Controls are found by their object names (Text1 to Text8, Command1,
// Command2, Label1 to Label4, Picture1) at each use; the fields' texts are the
// window's only state.
class Form2 : public QWidget
{
    Q_OBJECT

public:
    explicit Form2(QWidget *parent = nullptr);

private:
    QLineEdit *field(const char *name) const;
    QAbstractButton *command(const char *name) const;

    void onLocator1Changed();
    void onLocator2Changed();
    void onCalculateClicked();
    void onExitClicked();

    void keepUpperCaseWithCaretAtEnd(const char *name);
    void writeCoordinate(const char *name, double degrees, const QString &decimalSeparator);
    void writeResult(const char *name, double whole);
};
