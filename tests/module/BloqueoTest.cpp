// The lock beside the saved declaration: a second session is refused while the first holds
// it, gets it once the first lets go, and a link planted at the lock's name is not followed.
#include "Bloqueo.h"
#include "FicheroDeclaracionPruebas.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using simulador::Bloqueo;

TEST(Bloqueo, OneSessionAtATime)
{
    const CarpetaPrivada carpeta;
    const std::string dir = carpeta.ruta().string(), ruta = dir + "/DatosCa21.Ini.lock";
    {
        Bloqueo primera = Bloqueo::Toma(ruta);
        ASSERT_EQ(primera.estado(), Bloqueo::Estado::Tomado) << primera.error();
        struct stat st {};
        ASSERT_EQ(lstat(ruta.c_str(), &st), 0);
        EXPECT_TRUE(S_ISREG(st.st_mode));
        EXPECT_EQ(st.st_mode & 0777, 0600u);
        // Two opens of one file in one process are two sessions to flock.
        EXPECT_EQ(Bloqueo::Toma(ruta).estado(), Bloqueo::Estado::Ocupado);
        Bloqueo movida = std::move(primera);  // still held by whoever owns it
        EXPECT_EQ(Bloqueo::Toma(ruta).estado(), Bloqueo::Estado::Ocupado);
    }
    Bloqueo despues = Bloqueo::Toma(ruta);
    EXPECT_EQ(despues.estado(), Bloqueo::Estado::Tomado);
    despues.suelta();
    EXPECT_EQ(Bloqueo::Toma(ruta).estado(), Bloqueo::Estado::Tomado);

    const std::string enlace = dir + "/enlace.lock", destino = dir + "/destino";
    ASSERT_EQ(symlink(destino.c_str(), enlace.c_str()), 0);
    const Bloqueo porEnlace = Bloqueo::Toma(enlace);
    EXPECT_EQ(porEnlace.estado(), Bloqueo::Estado::Error);
    EXPECT_NE(porEnlace.error().find(enlace), std::string::npos);
    EXPECT_NE(access(destino.c_str(), F_OK), 0);  // nothing created through the link
    EXPECT_EQ(Bloqueo::Toma(dir + "/no/existe.lock").estado(), Bloqueo::Estado::Error);
}
