// The user-visible texts. Half-width katakana stay half-width, full-width
// characters full-width, exactly as the product has always shown them.
#include "texts.h"

const char g_szCaptionINSTALL[] PACKED_TEXT = "INSTALL";
const char g_szCaptionInstall[] PACKED_TEXT = "Install";
const char g_szCaptionConfirmQuit[] PACKED_TEXT = "終了確認";
const char g_szCaptionCreateFolder[] PACKED_TEXT = "ﾌｫﾙﾀﾞ作成確認";
const char g_szCaptionFinished[] PACKED_TEXT = "終了ﾒｯｾｰｼﾞ";
const char g_szCaptionUninstall[] PACKED_TEXT = "TOKAVIのｱﾝｲﾝｽﾄｰﾙ";

const char g_szMsgAppRunning[] PACKED_TEXT = "Tokavi が起動中です。終了させてください。";
const char g_szMsgWrongFolder[] PACKED_TEXT =
    "Install.exe は Tokavi.exe のあるﾌｫﾙﾀﾞから起動して下さい。";
const char g_szMsgUnusableFolder[] PACKED_TEXT =
    "Install.exe のあるﾌｫﾙﾀﾞの名前には使えない文字があります。"
    "別のﾌｫﾙﾀﾞに移してから起動して下さい。";
const char g_szMsgSourceTooLong[] PACKED_TEXT =
    "Install.exe のあるﾌｫﾙﾀﾞの名前が長すぎます。別のﾌｫﾙﾀﾞに移してから起動して下さい。";
const char g_szMsgConfirmCancel[] PACKED_TEXT = "ｲﾝｽﾄｰﾙを中止しますか？";
const char g_szTitleBrowse[] PACKED_TEXT = "ｲﾝｽﾄｰﾙ先のﾌｫﾙﾀﾞを選択してください。";
const char g_szMsgFolderInvalid[] PACKED_TEXT = "ｲﾝｽﾄｰﾙ先のﾌｫﾙﾀﾞ名が正しくありません。";
const char g_szMsgFolderTooLong[] PACKED_TEXT = "ｲﾝｽﾄｰﾙ先のﾌｫﾙﾀﾞ名が長すぎます。";
const char g_szMsgFolderMissing1[] PACKED_TEXT = "ｲﾝｽﾄｰﾙ先のﾌｫﾙﾀﾞ '";
const char g_szMsgFolderMissing2[] PACKED_TEXT = "' は存在しません。\nﾌｫﾙﾀﾞを新規に作成しますか?";
const char g_szMsgCannotCreate[] PACKED_TEXT = " を作成できません。";
const char g_szMsgSourceMissing1[] PACKED_TEXT =
    "ｺﾋﾟｰ元のﾌｧｲﾙが 'Install.exe'と同じﾌｫﾙﾀﾞにありません。\n";
const char g_szMsgSourceMissing2[] PACKED_TEXT =
    "'install.exe'は 'Tokavi.exe'(その関連ﾌｧｲﾙを含む)と同じﾌｫﾙﾀﾞに置いて実行して下さい。";
// A product file that could not be copied, named as in the copy list
// between the quotes; then one of the endings.
const char g_szMsgCannotCopyFile1[] PACKED_TEXT = "'";
const char g_szMsgCannotCopyFile2[] PACKED_TEXT = "' がコピーできません。";
// Tokavi.exe, which a running Tokavi holds.
const char g_szMsgCannotCopyRunning[] PACKED_TEXT =
    "' がコピーできません。\n\n'Tokavi.exe' "
    "が起動中であれば終了させてからインストールしてください。";
// Any file, when the disk is full.
const char g_szMsgDiskFull[] PACKED_TEXT =
    "' がコピーできません。\n\nﾃﾞｨｽｸの空き容量が足りません。";
// After any of them, when a file the copy replaced could not be put back.
const char g_szMsgNotPutBack[] PACKED_TEXT = "\n\n元に戻せなかったﾌｧｲﾙがあります。";
const char g_szMsgInstalled1[] PACKED_TEXT = "ｲﾝｽﾄｰﾙが完了しました。\n\n";
const char g_szMsgInstalled2[] PACKED_TEXT =
    "ｱﾝｲﾝｽﾄｰﾙはｺﾝﾄﾛｰﾙﾊﾟﾈﾙの'ｱﾌﾟﾘｹｰｼｮﾝの追加と削除'から実行してください。";
const char g_szMsgUninstallInfoFailed[] PACKED_TEXT = "ｱﾝｲﾝｽﾄｰﾙ情報が登録できませんでした。";
const char g_szMsgRestart[] PACKED_TEXT = "ｼｪﾙ拡張の更新は、Winodws再起動後、有効になります。";
const char g_szMsgConfirmUninstall[] PACKED_TEXT = "TOKAVIをアンインストールします。";
const char g_szMsgUninstalled[] PACKED_TEXT = "Tokaviのアンインストール終了。";
const char g_szMsgDeletedAtRestart[] PACKED_TEXT =
    "\n\n使用中のﾌｧｲﾙは Windows の再起動後に削除されます。";
const char g_szMsgFilesLeft[] PACKED_TEXT = "\n\n削除できなかったﾌｧｲﾙがあります。";
const char g_szMsgWrongBuild[] PACKED_TEXT =
    "このｲﾝｽﾄｰﾗは 32 ﾋﾞｯﾄ版 Windows 用です。64 ﾋﾞｯﾄ版のﾊﾟｯｹｰｼﾞをお使いください。";
