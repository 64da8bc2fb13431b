// The folder-list button: ask the printer for its filing folders, keep them
// with the printer's preferences and show them in the pop-up.
#include "plugin/panel.h"
#include "soap/folder_list_parser.h"

namespace jc {

void KorvelPrintPdeVx418JC::getFolderNameButtonProc(Control*) {
  if (!getFolderNameButton) return;
  const std::u16string address = printersAddressEditText->stringValue();
  auto outcome = KorvelPrintPdeVx418JCSOAPClient::Outcome::NotSent;
  folderListOutcome_.reset();
  if (!address.empty()) {
    chasingArrow->startAnimation();
    chasingArrow->setHidden(false);
    IdleRunLoop idle;
    RunLoop* loop = env_.runLoop ? env_.runLoop
                    : (pdePluginCallbackObject && pdePluginCallbackObject->runLoop())
                        ? pdePluginCallbackObject->runLoop()
                        : &idle;
    const std::string url = "http://" + toUtf8(address) + "/korvel-mfp-srv";
    if (auto client = KorvelPrintPdeVx418JCSOAPClient::initWithServerName(
            url, this, *loop, env_.responseFile, env_.soapLimits)) {
      outcome = client->sendMessage(requestData.value_or(std::vector<unsigned char>{}));
      folderListOutcome_ = client->failure();
    } else {
      folderListOutcome_ = unusableAddress();
    }
    chasingArrow->stopAnimation();
    chasingArrow->setHidden(true);
  }
  // Only this request's own answer is read: after a failure the response file
  // may hold an earlier answer, possibly of another printer.
  if (outcome == KorvelPrintPdeVx418JCSOAPClient::Outcome::Success) parseXML(env_.responseFile);
  SaveFolderPreference();
  makeFolderPopup();
}

bool KorvelPrintPdeVx418JC::parseXML(const std::filesystem::path& responseFile) {
  FolderListParse parse = parseFolderListFile(responseFile);
  folderListOutcome_ = outcomeOfParse(parse);
  if (!parse.documentRead) return false;
  folderList = std::move(parse.folders);
  return parse.ok;
}

void KorvelPrintPdeVx418JC::recieveEndCallback() {
  const std::u16string message = localizedString(u"Could not retrieve Folder Names.");
  const std::u16string button = localizedString(u"OK");
  chasingArrow->stopAnimation();
  chasingArrow->setHidden(true);
  if (Toolkit* kit = toolkit()) kit->alert(u"", message, button);
}

}  // namespace jc
