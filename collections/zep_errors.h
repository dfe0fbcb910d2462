#pragma once

#include <stdexcept>
#include <string>

// The standard errors the collections raise.
class EZEP_ArgumentOutOfRange : public std::out_of_range {
public:
    EZEP_ArgumentOutOfRange() : std::out_of_range("Argument außerhalb des Bereichs") {}
};

class EZEP_OutOfMemory : public std::runtime_error {
public:
    EZEP_OutOfMemory() : std::runtime_error("Zu wenig Arbeitsspeicher") {}
};

class EZEP_DuplicateItem : public std::runtime_error {
public:
    EZEP_DuplicateItem() : std::runtime_error("Duplikate nicht zulässig") {}
};

class EZEP_ItemNotFound : public std::runtime_error {
public:
    EZEP_ItemNotFound() : std::runtime_error("Element nicht gefunden") {}
};
