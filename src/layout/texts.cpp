// The user-visible texts. Half-width katakana stay half-width, full-width
// characters full-width, exactly as the product has always shown them.
#include "texts.h"

const char g_szCaptionINSTALL[] = "INSTALL";
const char g_szCaptionInstall[] = "Install";
const char g_szCaptionConfirmQuit[] = "終了確認";
const char g_szCaptionCreateFolder[] = "ﾌｫﾙﾀﾞ作成確認";
const char g_szCaptionFinished[] = "終了ﾒｯｾｰｼﾞ";
const char g_szCaptionUninstall[] = "TOKAVIのｱﾝｲﾝｽﾄｰﾙ";

const char g_szMsgAppRunning[] = "Tokavi が起動中です。終了させてください。";
const char g_szMsgWrongFolder[] = "Install.exe は Tokavi.exe のあるﾌｫﾙﾀﾞから起動して下さい。";
const char g_szMsgConfirmCancel[] = "ｲﾝｽﾄｰﾙを中止しますか？";
const char g_szTitleBrowse[] = "ｲﾝｽﾄｰﾙ先のﾌｫﾙﾀﾞを選択してください。";
const char g_szMsgFolderInvalid[] = "ｲﾝｽﾄｰﾙ先のﾌｫﾙﾀﾞ名が正しくありません。";
const char g_szMsgFolderTooLong[] = "ｲﾝｽﾄｰﾙ先のﾌｫﾙﾀﾞ名が長すぎます。";
const char g_szMsgFolderMissing1[] = "ｲﾝｽﾄｰﾙ先のﾌｫﾙﾀﾞ '";
const char g_szMsgFolderMissing2[] = "' は存在しません。\nﾌｫﾙﾀﾞを新規に作成しますか?";
const char g_szMsgCannotCreate[] = " を作成できません。";
const char g_szMsgSourceMissing1[] = "ｺﾋﾟｰ元のﾌｧｲﾙが 'Install.exe'と同じﾌｫﾙﾀﾞにありません。\n";
const char g_szMsgSourceMissing2[] =
    "'install.exe'は 'Tokavi.exe'(その関連ﾌｧｲﾙを含む)と同じﾌｫﾙﾀﾞに置いて実行して下さい。";
const char g_szMsgCannotCopy1[] = "'Tokavi.exe' がコピーできません。\n\n";
const char g_szMsgCannotCopy2[] =
    "'Tokavi.exe' が起動中であれば終了させてからインストールしてください。";
// Any other product file, named as in the copy list between the quotes.
const char g_szMsgCannotCopyFile1[] = "'";
const char g_szMsgCannotCopyFile2[] = "' がコピーできません。";
const char g_szMsgInstalled1[] = "ｲﾝｽﾄｰﾙが完了しました。\n\n";
const char g_szMsgInstalled2[] =
    "ｱﾝｲﾝｽﾄｰﾙはｺﾝﾄﾛｰﾙﾊﾟﾈﾙの'ｱﾌﾟﾘｹｰｼｮﾝの追加と削除'から実行してください。";
const char g_szMsgUninstallInfoFailed[] = "ｱﾝｲﾝｽﾄｰﾙ情報が登録できませんでした。";
const char g_szMsgRestart[] = "ｼｪﾙ拡張の更新は、Winodws再起動後、有効になります。";
const char g_szMsgConfirmUninstall[] = "TOKAVIをアンインストールします。";
const char g_szMsgUninstalled[] = "Tokaviのアンインストール終了。";
