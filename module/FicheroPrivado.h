// Files that hold clients' incomes: written atomically, private to the user, never through
// a link another user planted, and read without following one.
//
// Two kinds of place:
// - A private folder of the program's (the last declaration, the user's settings): it must
//   be a real folder of the user's own that nobody else can enter. Everything in it is
//   opened relative to the folder's descriptor with O_NOFOLLOW, so nothing can be swapped
//   between a check and its use.
// - A file the user chose in a dialog (a client's declaration, a PDF): written where the
//   user points, keeping the old file's mode. A link there is followed only when the link
//   itself is the user's and leads to a regular file of the user's.
//
// Every write goes to a temporary file of ours beside the destination (unpredictable name,
// created with O_EXCL, mode 0600), is synced and then renamed over the destination: a save
// that fails, or a program killed half-way, leaves the previous file whole. Temporaries
// that a killed program left behind are removed at the next save in that folder.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace simulador {

// A file operation that failed. what() is the reason in Spanish, written to follow the
// caller's own words ("No se ha podido guardar … : <reason>"); codigo() is the errno
// behind it, or 0 for a check of ours (a link, a folder open to others, …).
class ErrorRuta : public std::runtime_error {
public:
    ErrorRuta(int codigo, const std::string &motivo) : std::runtime_error(motivo), m_codigo(codigo) {}
    int codigo() const { return m_codigo; }

private:
    int m_codigo;
};

// The reason for an errno value, in the words of our messages.
std::string MotivoError(int codigo);

// The whole of a regular file named by the user (links followed), at most `maximo` bytes:
// a larger one is refused unread with codigo() EFBIG, a folder with EISDIR, a pipe or a
// device with 0.
std::string LeeFichero(const std::string &ruta, std::size_t maximo);

// Writes `bytes` at `ruta`, a path the user chose, replacing the file there atomically and
// keeping its mode (a new file is 0600). Refused: a folder, a device, a read-only file, a
// link that is not the user's or does not lead to a regular file of the user's.
void EscribeFichero(const std::string &ruta, std::string_view bytes);

// A folder of the user's own that only the user can enter, opened once.
class CarpetaPrivada {
public:
    enum class Apertura {
        Existente,     // it must exist (ENOENT otherwise) and be private
        Crea,          // created with its missing parents, mode 0700, when missing
        CreaYCorrige,  // as Crea, and a folder of the user's that is open to others is closed
    };
    // Refuses (ErrorRuta) a link, a file, a folder of another user's, and one that others
    // can enter (except with CreaYCorrige).
    CarpetaPrivada(const std::string &ruta, Apertura apertura);
    ~CarpetaPrivada();
    CarpetaPrivada(const CarpetaPrivada &) = delete;
    CarpetaPrivada &operator=(const CarpetaPrivada &) = delete;

    const std::string &ruta() const { return m_ruta; }
    // Whether anything (a link too) has that name in the folder.
    bool contiene(const std::string &nombre) const;
    // The whole file, which must be a regular file of the user's (no link); as LeeFichero.
    std::string lee(const std::string &nombre, std::size_t maximo) const;
    // Replaces the file atomically with a private one (0600). A read-only file, a link, or
    // anything that is not a regular file of the user's is refused and left as it is.
    void escribe(const std::string &nombre, std::string_view bytes) const;
    // For files that another library writes (the user's settings): creates `nombre` empty
    // and 0600 when missing, takes group and other bits off it when it is the user's.
    // Refuses a link and anything not a regular file of the user's.
    void preparaFichero(const std::string &nombre) const;

private:
    std::string m_ruta;
    int m_fd = -1;
};

// As CarpetaPrivada::preparaFichero, in a folder that is not ours to close (the user's
// configuration folder, where Qt's file dialogs keep the folders last visited).
void PreparaFicheroPrivado(const std::string &carpeta, const std::string &nombre);

}  // namespace simulador
