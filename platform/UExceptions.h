#pragma once
// The system's exception base: every error the program raises on purpose
// carries a German message text.

#include <QString>
#include <exception>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(QString message)
        : FMessage(std::move(message)), FUtf8(FMessage.toStdString()) {}

    const QString& message() const noexcept { return FMessage; }
    const char* what() const noexcept override { return FUtf8.c_str(); }

private:
    QString FMessage;
    std::string FUtf8;
};

// A file that cannot be read, written or closed.
class EInOutError : public Exception {
public:
    using Exception::Exception;
};
