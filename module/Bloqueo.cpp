#include "Bloqueo.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace simulador {

Bloqueo::~Bloqueo() { suelta(); }

Bloqueo::Bloqueo(Bloqueo &&o) noexcept
    : m_fd(std::exchange(o.m_fd, -1)), m_estado(std::exchange(o.m_estado, Estado::SinTomar)),
      m_error(std::move(o.m_error))
{
}

Bloqueo &Bloqueo::operator=(Bloqueo &&o) noexcept
{
    if (this != &o) {
        suelta();
        m_fd = std::exchange(o.m_fd, -1);
        m_estado = std::exchange(o.m_estado, Estado::SinTomar);
        m_error = std::move(o.m_error);
    }
    return *this;
}

void Bloqueo::suelta()
{
    if (m_fd >= 0)
        ::close(m_fd);  // the lock goes with the descriptor
    m_fd = -1;
    m_estado = Estado::SinTomar;
    m_error.clear();
}

Bloqueo Bloqueo::Toma(const std::string &ruta)
{
    Bloqueo b;
    auto falla = [&b, &ruta](const char *por) {
        b.m_estado = Estado::Error;
        b.m_error = "No se puede usar el fichero de bloqueo «" + ruta + "»: " + por + ".";
        if (b.m_fd >= 0)
            ::close(b.m_fd);
        b.m_fd = -1;
        return std::move(b);
    };
    // The lock holds no data, but it sits beside the user's declaration: a link planted at
    // its name is refused (ELOOP), and a file someone else made is not ours to lock.
    b.m_fd = ::open(ruta.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (b.m_fd < 0)
        return falla(std::strerror(errno));
    struct stat st {};
    if (::fstat(b.m_fd, &st) != 0)
        return falla(std::strerror(errno));
    if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid())
        return falla("no es un fichero normal del usuario");
    if (::flock(b.m_fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK)
            return falla(std::strerror(errno));
        ::close(b.m_fd);
        b.m_fd = -1;
        b.m_estado = Estado::Ocupado;
        return b;
    }
    b.m_estado = Estado::Tomado;
    return b;
}

}  // namespace simulador
