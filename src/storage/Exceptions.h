#pragma once
// The program's failures travel as exceptions; every user-interface handler catches them before
// they reach Qt's frames (Debian's Qt is built without exception support).
#include <QString>
#include <exception>

class Exception : public std::exception {
public:
    explicit Exception(QString message) : FMessage(std::move(message)), FUtf8(FMessage.toUtf8()) {}
    const QString& Message() const noexcept { return FMessage; }
    const char* what() const noexcept override { return FUtf8.constData(); }

private:
    QString FMessage;
    QByteArray FUtf8;
};

// A failing statement or connection; carries the database engine's own message text.
class EDatabaseError : public Exception {
public:
    using Exception::Exception;
};

// A text that should have been a number, or a value out of its form.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// Ends the current action without any message; the application-wide handler swallows it.
class EAbort : public Exception {
public:
    EAbort() : Exception(QStringLiteral("Operation aborted")) {}
};
