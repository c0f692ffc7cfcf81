#pragma once

#include "os/Services.h"

#include <memory>

// The real services (Qt and the C library), made once by main after the
// application object and kept while the program runs.
class RealServices
{
public:
    RealServices();
    ~RealServices();
    RealServices(const RealServices &) = delete;
    RealServices &operator=(const RealServices &) = delete;

    const Services &services() const { return m_services; }

private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
    Services m_services;
};
