#pragma once

// The print window's hold on the screen pointer: the hourglass while the page
// is rebuilt or printed. The pointer from before the first change is put back
// when the object goes, even when the caller did not set the default again.
class PrintBusyPointer {
public:
    // The pointer codes the print window uses.
    enum class Shape { Default = 0, Hourglass = 11 };

    PrintBusyPointer() = default;
    ~PrintBusyPointer();
    PrintBusyPointer(const PrintBusyPointer&) = delete;
    PrintBusyPointer& operator=(const PrintBusyPointer&) = delete;

    void MousePointer(Shape shape);

private:
    // True while this object holds an override pointer of its own.
    bool m_overriding = false;
};
