#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QComboBox;
class QLineEdit;

// The controls of one key's link: a list (the choices of
// SetupControls::LinkChoices, in the order of LayoutEditor::LinkKind) and a
// box for the layout file. "Layout" with an empty box opens the picker, and
// a cancelled picker leaves the link as it was; a path typed or picked makes
// the key open that layout; emptying the box takes the link away.
class LinkChoice : public QObject {
    Q_OBJECT
public:
    // `pickLayout` shows the layout picker: the chosen path, or empty.
    LinkChoice(QComboBox& choice, QLineEdit& box, std::function<QString()> pickLayout, QObject* parent);

    // Shows a link value without reporting it as changed.
    void show(const QString& link);
    const QString& value() const { return m_value; }

signals:
    void changed(const QString& link);

private:
    void chosen(int index);
    void typed(const QString& text);
    void set(const QString& link);

    QComboBox& m_choice;
    QLineEdit& m_box;
    std::function<QString()> m_pickLayout;
    QString m_value;
};
