// The user this process runs as.
#include "framework/own_user.h"

#include "framework/unique_handle.h"

OwnUser::OwnUser() {
    HANDLE token = nullptr;
    DWORD size = 0;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return;
    UniqueHandle owned(token);
    if (GetTokenInformation(token, TokenUser, &m_token, sizeof m_token, &size)) sid = m_token.user.User.Sid;
}
