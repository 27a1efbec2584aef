#include "res/window_texts.h"

#include "res/text_tables.h"

namespace {

constexpr TextEntry kTexts[] = {
    {text::kStartButton, "진단 시작"},
    {text::kStopButton, "진단 중지"},
    {text::kCompletionMessage,
     "모든 체크가 완료되었습니다.\n"
     "\n"
     "로그 저장 버튼을 클릭하여 진단로그 및\n"
     "원격관련 로그파일을 수집할 수 있습니다."},
    {text::kNoFailures, "진단 실패 항목이 없습니다."},
    {text::kStepIdle, "%1 체크"},
    {text::kStepChecking, "%1 체크중"},
    {text::kStepPassed, "%1 체크 완료"},
    {text::kStepFailed, "%1 체크 실패"},
    {text::kStepStopped, "%1 체크 중지"},
    {text::kHttpCode, "HTTP %1"},
    {text::kStartTooltip, "각 체크항목의 검사를 시작합니다. 도중에 언제라도 취소할 수 있습니다."},
    {text::kSaveLogTooltip,
     "검사 결과 및 원격제어 관련 파일정보 등을 압축파일로 저장합니다.\n"
     "저장이 완료되면 윈도우 탐색기로 표시됩니다."},
    {text::kCollecting,
     "시스템 정보 및 로그를 수집중입니다.\n"
     "\n"
     "수집이 완료되면 윈도우 탐색기가 실행되며\n"
     "해당 파일을 확인할 수 있습니다."},
    {text::kCloseQuestion, "시스템 진단툴을 종료합니다."},
    {text::kDefaultTitle, "Check Tool"},
    {text::kLogTab, "진단 로그"},
    {text::kResultTab, "진단 결과"},
    {text::kErrorCode, "에러 코드"},
    {text::kStepListCaption, "진단 리스트"},
    {text::kSaveLogButton, "로그 저장"},
    {text::kAboutTitle, "TarvoCheckTool 정보"},
    {text::kAboutText, "TarvoCheckTool, 버전 1.0"},
    {text::kOk, "확인"},
    {text::kColumnContent, "내용"},
    {text::kColumnDescription, "설명"},
    {text::kWindowHelp,
     "usage: checktool [--help | --version]\n"
     "       checktool --upload URL [--upload-header \"Name: value\"]... [--upload-ca FILE]\n"
     "\n"
     "The Check Tool's window: it loads the product's check list, checks every listed\n"
     "server and packs the support bundle. checktool-cli does the same from a terminal.\n"
     "\n"
     "With --upload, \"로그 저장\" also sends the archive it wrote to URL, a pre-signed https\n"
     "address of the support desk's storage, with one PUT (header lines and a PEM authority\n"
     "as checktool-cli takes them); the archive stays and is shown as ever.\n"},
    {text::kWindowVersion, "checktool %1\n"},
};

}  // namespace

std::span<const TextEntry> window_texts() {
    return kTexts;
}
