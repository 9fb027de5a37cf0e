#pragma once

#include <QLabel>

class QLineEdit;

// A red mark beside a path box that shows, as the path is typed, chosen or
// dropped, whether it names a file that does not exist (found the way the
// runtime finds files: letter case does not count). An empty box is not marked.
class MissingFileMark : public QLabel {
    Q_OBJECT
public:
    // Placed at the given twips in the box's parent.
    MissingFileMark(QLineEdit& box, int left, int top, int width, int height);

private:
    void check();

    QLineEdit& m_box;
    const QColor m_normalText;
};
