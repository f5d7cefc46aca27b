#pragma once

#include <QString>

// A run-time failure: the error number and its description, as the exit
// procedure logs them. Number 0 means no failure.
struct Failure {
    int Number = 0;
    QString Description;

    bool failed() const { return Number != 0; }
};

// The error numbers the program raises, with their descriptions in one table.
enum ErrorNumber : int {
    kErrInvalidArgument = 5,
    kErrOverflow = 6,
    kErrOutOfMemory = 7,
    kErrTypeMismatch = 13,
    kErrFileNotFound = 53,
    kErrPermissionDenied = 70,
    kErrPathAccess = 75,
};

// The failure for a number of the table above; an unknown number gets a
// generic description.
Failure MakeFailure(int number);
