// Every print-settings entry the printer's filter reads from the job.
#pragma once

#include <string_view>

namespace jc::keys {

#define JC_KEY(name, suffix) \
  inline constexpr std::string_view name = "korvel.print.PrintSettings." suffix

inline constexpr std::string_view kPrefix = "korvel.print.PrintSettings.";

JC_KEY(kSpoolTime, "spoolTime");
JC_KEY(kFiling, "filing");
JC_KEY(kFolderPath, "folderPath");
JC_KEY(kFolderPath2, "folderPath2");
JC_KEY(kJobSuspend, "jobSuspend");
JC_KEY(kJobSuspendKey, "jobSuspendKey");
JC_KEY(kJobSuspend2Key, "jobSuspend2Key");
JC_KEY(kAuthentication, "Authentication");
JC_KEY(kPassword, "password");
JC_KEY(kPassword2, "password2");
JC_KEY(kUserNumber, "userNumber");
JC_KEY(kUserNumber2, "userNumber2");
JC_KEY(kAccountNumber, "accountNumber");
JC_KEY(kAccountNumber2, "accountNumber2");
JC_KEY(kUserName, "userName");
JC_KEY(kUserName2, "userName2");
JC_KEY(kJobName, "jobName");
JC_KEY(kJobName2, "jobName2");
JC_KEY(kFolderPassword, "folderPassword");
JC_KEY(kFolderPassword2, "folderPassword2");
JC_KEY(kHoldButton, "holdButton");

// Chunked families: the prefix followed by the decimal chunk number 1, 2, ...
JC_KEY(kLoginName1Prefix, "loginName1");
JC_KEY(kLoginName0Prefix, "loginName0");
JC_KEY(kLoginName11, "loginName11");
JC_KEY(kLoginName12, "loginName12");

#undef JC_KEY

}  // namespace jc::keys
