#pragma once
// Pages of the product's web site that the wizard opens.

constexpr wchar_t kFaqAddress[] = L"https://www.photarium.example/faq.htm";
constexpr wchar_t kEulaAddress[] = L"https://www.photarium.example/eula.htm";
