#pragma once

#include <stdexcept>

// The port failed under a transaction: the device vanished, a write or a
// read failed. Distinct from the phone's answer "ERROR". The link has closed
// the port by the time this is thrown.
class LinkFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The user asked the program to end while a transaction waited; the
// operation that sent it stops where it is. The port stays open.
class LinkCancelled : public std::runtime_error {
public:
    LinkCancelled() : std::runtime_error("transaction cancelled") {}
};
