#pragma once

#include <optional>

// Pointer control: sets the screen-wide pointer shape and, when released,
// puts back the shape that was there before its first change, even when the
// caller forgot to reset it.
class cMouse {
public:
    cMouse() = default;
    ~cMouse();
    cMouse(const cMouse&) = delete;
    cMouse& operator=(const cMouse&) = delete;

    int MousePointer() const;
    void SetMousePointer(int shape);

private:
    std::optional<int> m_savedShape;
};
