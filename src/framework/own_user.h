// The user this process runs as, read from its token.
#pragma once
#include <windows.h>

// Room for any SID, and the SID in it; sid is null when the token cannot say.
struct OwnUser {
    OwnUser();
    PSID sid = nullptr;

private:
    union {
        TOKEN_USER user;
        char room[256];
    } m_token = {};
};
