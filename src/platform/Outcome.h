#pragma once

#include <QString>

#include <optional>
#include <utility>

// How an operation of the program reports a failure: a sentence in Italian
// the user can act on, and the technical detail (the file, the system's
// reason) that goes to the log for whoever helps. Success carries neither.
class [[nodiscard]] Outcome {
public:
    static Outcome Done() { return Outcome(); }
    static Outcome Failed(QString message, QString detail = QString()) {
        Outcome failed;
        failed.m_failed = true;
        failed.m_message = std::move(message);
        failed.m_detail = std::move(detail);
        return failed;
    }

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    const QString& message() const { return m_message; }
    const QString& detail() const { return m_detail; }

private:
    bool m_failed = false;
    QString m_message;
    QString m_detail;
};

// A value, or the failure that stood in its way.
template <typename T> class [[nodiscard]] Result {
public:
    Result(T value) : m_value(std::move(value)) {}
    Result(Outcome failure) : m_failure(std::move(failure)) {}

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    const T& value() const { return *m_value; }
    T& value() { return *m_value; }
    const T* operator->() const { return &*m_value; }
    const T& operator*() const { return *m_value; }
    const Outcome& failure() const { return m_failure; }

private:
    std::optional<T> m_value;
    Outcome m_failure;
};
