#pragma once

#include <QString>
#include <exception>

namespace tolvane {

// An error that ends the current user operation; its message is shown to the user as is.
class UserError : public std::exception {
public:
    explicit UserError(QString message)
        : message_(std::move(message))
        , utf8_(message_.toUtf8()) {}
    const QString& message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

// A text that does not convert to the number (or boolean) a file or cell must hold.
class ConvertError : public UserError {
public:
    using UserError::UserError;
};

} // namespace tolvane
