#include "res/upload_texts.h"

#include "res/text_tables.h"

namespace {

constexpr TextEntry kTexts[] = {
    {text::kUploadOutcomeLine, "upload: %1, HTTP %2, %3 bytes in %4 s, verified: %5"},
    {text::kUploadFailed, "upload failed: %1\nthe archive stays; send it to the support desk by hand: %2"},
    {text::kUploadStopped, "upload stopped; the archive stays: %1"},
    {text::kUploadRetrying, "upload: attempt %1 in %2 s; the last one failed: %3"},
    {text::kUploadFlagNeedsUpload, "%1 applies to the upload: add --upload"},
    {text::kUploadUnusableAddress, "--upload cannot use %1: %2"},
    {text::kUploadUnusableHeader, "--upload-header: %1"},
    {text::kUploadSending, "압축 파일을 지원 센터(%1)로\n보내는 중입니다.\n\n보내기가 끝나면 결과를 알려 드립니다."},
    {text::kUploadSent, "압축 파일을 지원 센터로 보냈습니다.\n\n%1\nHTTP %2, %3바이트, %4초, 무결성 확인: %5"},
    {text::kUploadNotSent, "압축 파일을 지원 센터로 보내지 못했습니다.\n%1\n\n아래 파일을 직접 보내 주십시오.\n%2"},
    {text::kUploadVerifiedMd5, "MD5 일치"},
    {text::kUploadNotVerified, "서버가 체크섬을 알려 주지 않음"},
    {text::kFlagUpload, "with --save-log: then send the archive with one PUT to this pre-signed https URL"},
    {text::kFlagUploadHeader, "an extra \"Name: value\" header for the upload (again for more)"},
    {text::kFlagUploadCa, "PEM certificates trusted for the upload besides the system's"},
    {text::kExitUploadFailed,
     "--upload could not send the archive (standard error says why and names\n"
     "       the archive to send by hand; JSON \"upload\" says the same, null when\n"
     "       no upload was asked for)"},
};

}  // namespace

std::span<const TextEntry> upload_texts() {
    return kTexts;
}
