#include "install/link_facts.h"

#include "install/where_names_lead.h"

#include <aclapi.h>

LinkFacts ReadLinkFacts(HANDLE folder, const wchar_t*)
{
    LinkFacts facts = {false, false, {}};
    BY_HANDLE_FILE_INFORMATION info;
    // only name surrogates lead elsewhere: a cloud file is the folder itself
    facts.leadsElsewhere = GetFileInformationByHandle(folder, &info) &&
                           IsLinkByItsKind(folder, info.dwFileAttributes);
    if (!facts.leadsElsewhere)
        return facts;
    // the owner is read through READ_CONTROL; a descriptor without one
    // gives no owner
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(folder, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                        nullptr, nullptr, &descriptor) != ERROR_SUCCESS)
        return facts;
    facts.ownerRead = owner != nullptr && CopySid(sizeof(facts.owner), facts.owner, owner);
    LocalFree(descriptor);
    return facts;
}
