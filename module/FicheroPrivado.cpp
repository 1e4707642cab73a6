// Private and atomic files on POSIX systems (Linux, glibc).
//
// A shared folder such as /tmp is hostile ground: another user can create a name first, as
// a file or as a link. So every name is looked at without following links (lstat,
// fstatat with AT_SYMLINK_NOFOLLOW, O_NOFOLLOW), every file inside a folder is opened
// relative to the folder's descriptor, and the final name is only ever replaced by
// renameat, which replaces a link itself and never what it points to.
#include "FicheroPrivado.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace simulador {

namespace fs = std::filesystem;

namespace {

// A descriptor closed when it goes out of scope.
struct Descriptor {
    int fd = -1;
    explicit Descriptor(int f) : fd(f) {}
    ~Descriptor()
    {
        if (fd >= 0)
            close(fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
};

[[noreturn]] void fallaErrno(int e) { throw ErrorRuta(e, MotivoError(e)); }

std::string enlaceNoSeSigue(const std::string &nombre)
{
    return "«" + nombre + "» es un enlace simbólico; por seguridad no se sigue";
}

std::string soloLectura()
{
    return "el fichero es de solo lectura y no se sustituye (quite la protección o guárdelo en otro fichero)";
}

// A regular file of the user's, looked at without following a link.
void compruebaFicheroPropio(const struct stat &st, const std::string &nombre)
{
    if (S_ISLNK(st.st_mode))
        throw ErrorRuta(0, enlaceNoSeSigue(nombre));
    if (S_ISDIR(st.st_mode))
        fallaErrno(EISDIR);
    if (!S_ISREG(st.st_mode))
        throw ErrorRuta(0, "no es un fichero normal");
    if (st.st_uid != getuid())
        throw ErrorRuta(0, "el fichero es de otro usuario; por seguridad no se usa");
}

// Opens `nombre` in the folder for reading (`crea`: made empty and 0600 when missing) without
// following a link, and checks that what was opened is a regular file of the user's.
int abrePropio(int carpeta, const std::string &nombre, bool crea, struct stat &st)
{
    const int flags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (crea ? O_CREAT : 0);
    Descriptor fd(openat(carpeta, nombre.c_str(), flags, 0600));
    if (fd.fd < 0) {
        if (errno == ELOOP)
            throw ErrorRuta(0, enlaceNoSeSigue(nombre));
        fallaErrno(errno);
    }
    if (fstat(fd.fd, &st) != 0)
        fallaErrno(errno);
    compruebaFicheroPropio(st, nombre);
    const int abierto = fd.fd;
    fd.fd = -1;
    return abierto;
}

// Creates `nombre` in the folder empty and 0600 when missing; takes group and other bits off
// a file of the user's; refuses a link and anything else.
void preparaEn(int carpeta, const std::string &nombre)
{
    struct stat st {};
    Descriptor fd(abrePropio(carpeta, nombre, true, st));
    if ((st.st_mode & 077) != 0 && fchmod(fd.fd, st.st_mode & 0700) != 0)
        fallaErrno(errno);
}

// What is at `nombre` in the folder, not following a link; false when nothing is.
bool estadoEn(int carpeta, const std::string &nombre, struct stat &st)
{
    if (fstatat(carpeta, nombre.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0)
        return true;
    if (errno == ENOENT)
        return false;
    fallaErrno(errno);
}

std::string leeDescriptor(int fd, std::size_t maximo)
{
    struct stat st {};
    if (fstat(fd, &st) != 0)
        fallaErrno(errno);
    if (S_ISDIR(st.st_mode))
        fallaErrno(EISDIR);
    if (!S_ISREG(st.st_mode))
        throw ErrorRuta(0, "no es un fichero normal");
    if (static_cast<std::uintmax_t>(st.st_size) > maximo)
        fallaErrno(EFBIG);
    // A file that shrinks meanwhile ends the read early; one that grows is read up to the
    // size it had, which is within the limit.
    std::string contenido(static_cast<std::size_t>(st.st_size), '\0');
    std::size_t leidos = 0;
    while (leidos < contenido.size()) {
        const ssize_t n = read(fd, contenido.data() + leidos, contenido.size() - leidos);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fallaErrno(errno);
        if (n == 0)
            break;
        leidos += static_cast<std::size_t>(n);
    }
    contenido.resize(leidos);
    return contenido;
}

bool escribeTodo(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Temporaries are ".simulador-irpf2021-" + 16 hexadecimal figures + ".tmp". Earlier versions
// named theirs ".guardando-" + 8 figures + ".tmp"; those are ours too.
constexpr std::string_view kPrefijo = ".simulador-irpf2021-";
constexpr std::string_view kPrefijoAntiguo = ".guardando-";
constexpr std::string_view kSufijo = ".tmp";

bool esTemporalNuestro(std::string_view n)
{
    const auto cifras = [&](std::string_view prefijo, std::size_t cuantas) {
        if (n.size() != prefijo.size() + cuantas + kSufijo.size() || n.substr(0, prefijo.size()) != prefijo ||
            n.substr(n.size() - kSufijo.size()) != kSufijo)
            return false;
        for (char c : n.substr(prefijo.size(), cuantas)) {
            if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
                return false;
        }
        return true;
    };
    return cifras(kPrefijo, 16) || cifras(kPrefijoAntiguo, 8);
}

std::string nombreTemporal()
{
    unsigned long long azar;
    try {
        std::random_device r;
        azar = (static_cast<unsigned long long>(r()) << 32) ^ r();
    } catch (const std::exception &) {
        // O_EXCL makes a name someone guessed fail, not leak: a clock will do.
        static unsigned cuenta = 0;
        azar = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count()) * 31 +
               static_cast<unsigned long long>(getpid()) + ++cuenta;
    }
    char cifras[17];
    std::snprintf(cifras, sizeof cifras, "%016llx", azar);
    return std::string(kPrefijo) + cifras + std::string(kSufijo);
}

// Removes the temporaries a killed save left behind: ours by name and owner, and not locked,
// since a save in progress keeps its temporary locked until the rename (the kernel drops the
// lock of a process that dies). Best effort: a folder that cannot be listed is left alone.
void limpiaTemporales(int carpeta)
{
    const int propio = openat(carpeta, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);  // its own offset
    if (propio < 0)
        return;
    DIR *dir = fdopendir(propio);
    if (!dir) {
        close(propio);
        return;
    }
    while (const dirent *e = readdir(dir)) {
        if (!esTemporalNuestro(e->d_name))
            continue;
        Descriptor fd(openat(carpeta, e->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat st {};
        if (fd.fd >= 0 && fstat(fd.fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == getuid() &&
            flock(fd.fd, LOCK_EX | LOCK_NB) == 0)
            unlinkat(carpeta, e->d_name, 0);
    }
    closedir(dir);
}

// Writes `bytes` as `nombre` in the folder through a temporary beside it, then renames it
// over the name. The new file takes the mode of `anterior` (the file it replaces), 0600
// when there is none. On any failure the temporary is removed and the name is untouched.
void escribeAtomico(int carpeta, const std::string &nombre, std::string_view bytes, const struct stat *anterior)
{
    limpiaTemporales(carpeta);
    std::string temporal;
    int fd = -1;
    for (int intento = 0; intento < 16 && fd < 0; ++intento) {
        temporal = nombreTemporal();
        fd = openat(carpeta, temporal.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        fallaErrno(errno);
    // Held until the rename: another save's cleaning sees this temporary is in use.
    (void)flock(fd, LOCK_EX);
    int error = 0;
    if (!escribeTodo(fd, bytes))
        error = errno;
    if (error == 0 && anterior && anterior->st_gid != getegid()) {
        // Best effort, as cp -p: a group the user is not in leaves the file in the user's own.
        [[maybe_unused]] const int grupo = fchown(fd, static_cast<uid_t>(-1), anterior->st_gid);
    }
    // Explicitly: the umask could have taken the owner's own bits off.
    if (error == 0 && fchmod(fd, anterior ? (anterior->st_mode & 0777) : 0600) != 0)
        error = errno;
    // On the disk before the rename, so that a crash cannot leave an empty file behind the name.
    if (error == 0 && fsync(fd) != 0)
        error = errno;
    if (error == 0 && renameat(carpeta, temporal.c_str(), carpeta, nombre.c_str()) != 0)
        error = errno;
    if (error != 0)
        unlinkat(carpeta, temporal.c_str(), 0);
    close(fd);
    if (error != 0)
        fallaErrno(error);
    // The rename itself made durable. Best effort: some file systems refuse to sync a folder.
    (void)fsync(carpeta);
}

void creaCarpeta(const std::string &ruta)
{
    if (mkdir(ruta.c_str(), 0700) == 0 || errno != ENOENT)
        return;  // made, there already, or an error that opening it will report
    const std::string padre = fs::path(ruta).parent_path().string();
    if (padre.empty() || padre == ruta)
        return;
    creaCarpeta(padre);
    (void)mkdir(ruta.c_str(), 0700);
}

}  // namespace

std::string MotivoError(int e)
{
    switch (e) {
    case ENOENT:
        return "no existe la carpeta o el fichero";
    case EACCES:
    case EPERM:
        return "permiso denegado";
    case EISDIR:
        return "es una carpeta";
    case ENOTDIR:
        return "una parte de la ruta no es una carpeta";
    case ENOTEMPTY:
        return "es una carpeta que no está vacía";
    case ENOSPC:
        return "no queda espacio en el disco";
    case EDQUOT:
        return "se ha superado la cuota de disco";
    case EFBIG:
        return "el fichero supera el tamaño permitido";
    case EROFS:
        return "el sistema de ficheros es de solo lectura";
    case EIO:
        return "error de entrada/salida";
    case ENAMETOOLONG:
        return "la ruta es demasiado larga";
    case EMFILE:
    case ENFILE:
        return "hay demasiados ficheros abiertos";
    case EBUSY:
        return "el fichero está en uso";
    case EBADF:
        return "no está abierto para escribir";
    case EPIPE:
        return "el destino se ha cerrado";
    case ELOOP:
        return "hay demasiados enlaces simbólicos en la ruta";
    default:
        return std::strerror(e);
    }
}

std::string LeeFichero(const std::string &ruta, std::size_t maximo)
{
    // O_NONBLOCK keeps a pipe with no writer from hanging the open; the type is checked next.
    Descriptor fd(open(ruta.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.fd < 0)
        fallaErrno(errno);
    return leeDescriptor(fd.fd, maximo);
}

void EscribeFichero(const std::string &ruta, std::string_view bytes)
{
    fs::path destino(ruta);
    if (ruta.empty())
        fallaErrno(ENOENT);
    if (!destino.has_filename())
        fallaErrno(EISDIR);
    // A link is followed only when it is the user's own and leads straight to a regular file
    // of the user's: one planted by someone else must not redirect the save.
    struct stat st {};
    if (lstat(ruta.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        const std::string noSeSigue =
            "«" + ruta + "» es un enlace simbólico que no es suyo o que no lleva a un fichero suyo; por seguridad no "
            "se sigue";
        if (st.st_uid != getuid())
            throw ErrorRuta(0, noSeSigue);
        std::string objetivo(4097, '\0');
        const ssize_t n = readlink(ruta.c_str(), objetivo.data(), objetivo.size());
        if (n < 0)
            fallaErrno(errno);
        if (static_cast<std::size_t>(n) == objetivo.size())
            fallaErrno(ENAMETOOLONG);
        objetivo.resize(static_cast<std::size_t>(n));
        const fs::path o(objetivo);
        destino = o.is_absolute() ? o : destino.parent_path() / o;
        struct stat ost {};
        if (lstat(destino.c_str(), &ost) != 0 || !S_ISREG(ost.st_mode) || ost.st_uid != getuid() ||
            !destino.has_filename())
            throw ErrorRuta(0, noSeSigue);
    }
    const std::string carpeta = destino.has_parent_path() ? destino.parent_path().string() : std::string(".");
    const std::string nombre = destino.filename().string();
    int dfd = open(carpeta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd < 0 && errno == EACCES)
        dfd = open(carpeta.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);  // a folder one may write but not list
    Descriptor dir(dfd);
    if (dir.fd < 0)
        fallaErrno(errno);
    // Looked at again through the folder's descriptor: what the rename will replace.
    const bool existe = estadoEn(dir.fd, nombre, st);
    if (existe) {
        if (S_ISLNK(st.st_mode))
            throw ErrorRuta(0, enlaceNoSeSigue(destino.string()));
        if (S_ISDIR(st.st_mode))
            fallaErrno(EISDIR);
        if (!S_ISREG(st.st_mode))
            throw ErrorRuta(0, "no es un fichero normal");
        // Root may write anything, so the owner's write bit is read rather than asked for.
        const bool escribible = st.st_uid == getuid() ? (st.st_mode & S_IWUSR) != 0
                                                      : faccessat(dir.fd, nombre.c_str(), W_OK, AT_EACCESS) == 0;
        if (!escribible)
            throw ErrorRuta(0, soloLectura());
    }
    escribeAtomico(dir.fd, nombre, bytes, existe ? &st : nullptr);
}

CarpetaPrivada::CarpetaPrivada(const std::string &ruta, Apertura apertura) : m_ruta(ruta)
{
    if (apertura != Apertura::Existente)
        creaCarpeta(ruta);
    const std::string enlace = "«" + ruta + "» es un enlace simbólico, no una carpeta propia; por seguridad no se sigue";
    struct stat st {};
    if (lstat(ruta.c_str(), &st) != 0)
        fallaErrno(errno);
    const std::string noEsCarpeta = "«" + ruta + "» no es una carpeta";
    if (S_ISLNK(st.st_mode))
        throw ErrorRuta(0, enlace);
    if (!S_ISDIR(st.st_mode))
        throw ErrorRuta(0, noEsCarpeta);
    // Opened without following a link: what is checked next is what is used afterwards.
    m_fd = open(ruta.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (m_fd < 0) {
        const int e = errno;
        if (e == ELOOP)
            throw ErrorRuta(0, enlace);
        if (e == ENOTDIR)
            throw ErrorRuta(0, noEsCarpeta);
        fallaErrno(e);
    }
    Descriptor abierta(m_fd);
    if (fstat(m_fd, &st) != 0)
        fallaErrno(errno);
    if (!S_ISDIR(st.st_mode))
        throw ErrorRuta(0, noEsCarpeta);
    if (st.st_uid != getuid())
        throw ErrorRuta(0, "la carpeta «" + ruta + "» es de otro usuario; por seguridad no se lee ni se escribe nada en ella");
    if ((st.st_mode & 077) != 0 && !(apertura == Apertura::CreaYCorrige && fchmod(m_fd, st.st_mode & 0700) == 0)) {
        char permisos[8];
        std::snprintf(permisos, sizeof permisos, "%04o", static_cast<unsigned>(st.st_mode & 07777));
        throw ErrorRuta(0, "la carpeta «" + ruta + "» está abierta a otros usuarios (permisos " + permisos +
                               "); por seguridad no se lee ni se escribe nada en ella hasta que sea solo suya "
                               "(chmod 700 «" + ruta + "»)");
    }
    abierta.fd = -1;  // kept
}

CarpetaPrivada::~CarpetaPrivada()
{
    if (m_fd >= 0)
        close(m_fd);
}

bool CarpetaPrivada::contiene(const std::string &nombre) const
{
    struct stat st {};
    return estadoEn(m_fd, nombre, st);
}

std::string CarpetaPrivada::lee(const std::string &nombre, std::size_t maximo) const
{
    struct stat st {};
    Descriptor fd(abrePropio(m_fd, nombre, false, st));
    return leeDescriptor(fd.fd, maximo);
}

void CarpetaPrivada::escribe(const std::string &nombre, std::string_view bytes) const
{
    struct stat st {};
    if (estadoEn(m_fd, nombre, st)) {
        compruebaFicheroPropio(st, nombre);
        if ((st.st_mode & S_IWUSR) == 0)
            throw ErrorRuta(0, soloLectura());
    }
    escribeAtomico(m_fd, nombre, bytes, nullptr);
}

void CarpetaPrivada::preparaFichero(const std::string &nombre) const { preparaEn(m_fd, nombre); }

void PreparaFicheroPrivado(const std::string &carpeta, const std::string &nombre)
{
    creaCarpeta(carpeta);
    Descriptor dir(open(carpeta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.fd < 0)
        fallaErrno(errno);
    preparaEn(dir.fd, nombre);
}

}  // namespace simulador
