// A lock beside a file, so that a second session of the program knows the first one holds
// that file: flock(LOCK_EX | LOCK_NB) on a small file of its own ("NAME.lock"), kept open for
// as long as the lock is held. The kernel drops a flock lock when its last descriptor closes,
// so a session that crashes leaves no stale lock behind. Locks belong to an open file
// description, not to the process: two Bloqueo on one path conflict even in one process.
#pragma once

#include <string>

namespace simulador {

class Bloqueo {
public:
    enum class Estado {
        SinTomar,  // never tried, or released
        Tomado,    // held by this object until it is destroyed or released
        Ocupado,   // another open of the file holds it: another session is running
        Error,     // could not be tried (folder missing, not ours, a link at the name ...)
    };

    Bloqueo() = default;
    ~Bloqueo();
    Bloqueo(Bloqueo &&o) noexcept;
    Bloqueo &operator=(Bloqueo &&o) noexcept;
    Bloqueo(const Bloqueo &) = delete;
    Bloqueo &operator=(const Bloqueo &) = delete;

    // Creates `ruta` when missing (0600, never through a symbolic link, not inherited by
    // child processes) and tries the lock without waiting.
    static Bloqueo Toma(const std::string &ruta);

    Estado estado() const { return m_estado; }
    const std::string &error() const { return m_error; }  // in Spanish, when Estado::Error
    void suelta();

private:
    int m_fd = -1;
    Estado m_estado = Estado::SinTomar;
    std::string m_error;
};

}  // namespace simulador
