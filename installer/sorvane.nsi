; The Sorvane installer: puts gen_sorvane.dll into the Plugins folder of the player, offers the
; sample lyrics and the online lyrics search (a page of its own, ticked; written as OnlineLyrics
; into the settings file where the plug-in reads it), and registers an uninstaller that takes back exactly what was put there. It speaks
; English and Japanese: the system's language, or the one the user picks before the first page.
;
; makensis -INPUTCHARSET UTF8 -DDLL=<gen_sorvane.dll> -DSAMPLE=<Starlight.kra> -DICON=<sorvane.ico>
;          -DVERSION=<0.15b> -DOUTFILE=<setup.exe> [-DTEST_AMD64] [-DPLAYER_WINDOW_CLASS=<class>]
;          [-DTEST_SILENT_REMOVES_SETTINGS]
;
; The shipped installer is 32-bit, like the player. TEST_AMD64 builds the same script as a 64-bit
; program, for machines that run only 64-bit programs (the installer test under Wine).
; PLAYER_WINDOW_CLASS names the window that shows the player is running; the test gives a class of
; its own, so that substitute players running beside it do not count as the player.
; TEST_SILENT_REMOVES_SETTINGS makes a silent uninstall answer yes to removing the settings, so
; that the test can see which files that removes.

!ifdef TEST_AMD64
  Target amd64-unicode
!else
  Target x86-unicode
!endif
!ifndef PLAYER_WINDOW_CLASS
  !define PLAYER_WINDOW_CLASS "Winamp v1.x"
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WordFunc.nsh
!include nsDialogs.nsh
!include WinMessages.nsh

!define PRODUCT "Sorvane"
!define PLAYER_EXE "winamp.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Sorvane"
; Our own folder inside Plugins: the uninstaller and the sample lyrics.
!define OWN_FOLDER "Sorvane"
; The plug-in's section of its settings file.
!define INI_SECTION "Sorvane v0.15b by KEDO"
; The online search's checkbox, and its state (BST_CHECKED: OnlineLyrics=1).
Var OnlineBox
Var OnlineChoice

!getdllversion "${DLL}" DLL_VERSION_
!ifndef DLL_VERSION_4
  !error "${DLL} carries no version information"
!endif

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show

; The version information names the product and its version; it has no copyright line to give.
!pragma warning disable 9100
VIProductVersion "${DLL_VERSION_1}.${DLL_VERSION_2}.${DLL_VERSION_3}.${DLL_VERSION_4}"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

; The language dialog before the first page offers both languages, the system's chosen; the
; uninstaller speaks the one chosen, kept in our uninstall entry.
!define MUI_LANGDLL_ALLLANGUAGES
!define MUI_LANGDLL_ALWAYSSHOW
!define MUI_LANGDLL_WINDOWTITLE "Sorvane ${VERSION}"
!define MUI_LANGDLL_INFO "Please select a language.$\r$\n言語を選んでください。"
!define MUI_LANGDLL_REGISTRY_ROOT HKLM
!define MUI_LANGDLL_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MUI_LANGDLL_REGISTRY_VALUENAME "Language"

!insertmacro MUI_PAGE_COMPONENTS
!define MUI_DIRECTORYPAGE_TEXT_TOP "$(TextChoosePlayer)"
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "$(TextPlayerFolder)"
!insertmacro MUI_PAGE_DIRECTORY
Page custom OnlinePage OnlinePageLeave
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

LangString TextChoosePlayer ${LANG_ENGLISH} "Sorvane is installed into the Plugins folder of Winamp. Choose the folder of Winamp, the one that holds ${PLAYER_EXE}."
LangString TextChoosePlayer ${LANG_JAPANESE} "Sorvane は Winamp の Plugins フォルダにインストールされます。Winamp のフォルダ（${PLAYER_EXE} のあるフォルダ）を選んでください。"
LangString TextPlayerFolder ${LANG_ENGLISH} "Folder of Winamp"
LangString TextPlayerFolder ${LANG_JAPANESE} "Winamp のフォルダ"
LangString TextPlayerRunning ${LANG_ENGLISH} "Winamp is running. Close it, then choose Retry."
LangString TextPlayerRunning ${LANG_JAPANESE} "Winamp が起動しています。Winamp を終了してから［再試行］を押してください。"
LangString TextRemoveSettings ${LANG_ENGLISH} "Remove your Sorvane settings as well (sorvane.ini in Winamp's settings folder and beside the plug-in)?"
LangString TextRemoveSettings ${LANG_JAPANESE} "Sorvane の設定も削除しますか？（Winamp の設定フォルダとプラグインのフォルダにある sorvane.ini）"
LangString TextOnlineTitle ${LANG_ENGLISH} "Lyrics online"
LangString TextOnlineTitle ${LANG_JAPANESE} "オンラインの歌詞"
LangString TextOnlineSubtitle ${LANG_ENGLISH} "Sorvane can look for lyrics on LRCLIB for songs that have none."
LangString TextOnlineSubtitle ${LANG_JAPANESE} "歌詞のない曲の歌詞を LRCLIB で探せます。"
LangString TextOnlineBox ${LANG_ENGLISH} "Look for lyrics online (LRCLIB)"
LangString TextOnlineBox ${LANG_JAPANESE} "歌詞をオンラインで探す (LRCLIB)"
LangString TextOnlineSent ${LANG_ENGLISH} "For a song without lyrics here, its title, artist, album and length are sent to the lyrics server."
LangString TextOnlineSent ${LANG_JAPANESE} "歌詞の見つからない曲の曲名・アーティスト・アルバム・長さを歌詞サーバーに送ります。"
LangString TextPluginSection ${LANG_ENGLISH} "Sorvane plug-in"
LangString TextPluginSection ${LANG_JAPANESE} "Sorvane プラグイン"
LangString TextSampleSection ${LANG_ENGLISH} "Sample lyrics (Starlight.kra)"
LangString TextSampleSection ${LANG_JAPANESE} "サンプル歌詞 (Starlight.kra)"

; The player keeps its plug-ins loaded while it runs, so the DLL could neither be replaced nor
; removed. Interactively the user may close it and retry; a silent run fails instead.
!macro EnsurePlayerClosed un
  Function ${un}EnsurePlayerClosed
    check:
    FindWindow $0 "${PLAYER_WINDOW_CLASS}"
    ${If} $0 == 0
      Return
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(TextPlayerRunning)" /SD IDCANCEL IDRETRY check
    Abort
  FunctionEnd
!macroend
!insertmacro EnsurePlayerClosed ""
!insertmacro EnsurePlayerClosed "un."

; The player's settings folder, where Sorvane keeps its settings: the "inidir" of the player's
; paths.ini ({26} standing for the user's application data folder, {28} for the local one, a path
; without a drive counting from the player's folder), or the player's folder itself without one.
; Takes the player's folder on the stack and leaves the settings folder there.
!macro PlayerSettingsFolder un
  Function ${un}PlayerSettingsFolder
  Exch $0
  Push $1
  Push $2
  ReadINIStr $1 "$0\paths.ini" "Winamp" "inidir"
  ${If} $1 == ""
    StrCpy $1 $0
  ${Else}
    ${WordReplace} $1 "{26}" "$APPDATA" "+" $1
    ${WordReplace} $1 "{28}" "$LOCALAPPDATA" "+" $1
    StrCpy $2 $1 1 1
    ${If} $2 != ":"
      StrCpy $2 $1 2
      ${If} $2 != "\\"
        StrCpy $1 "$0\$1"
      ${EndIf}
    ${EndIf}
  ${EndIf}
  StrCpy $0 $1
  Pop $2
  Pop $1
  Exch $0
  FunctionEnd
!macroend
!insertmacro PlayerSettingsFolder ""
!insertmacro PlayerSettingsFolder "un."

; Takes the folder out of a command line such as "C:\Program Files\Winamp\UninstWA.exe" /S.
Function FolderOfCommand
  Exch $0
  Push $1
  StrCpy $1 $0 1
  ${If} $1 == '"'
    StrCpy $0 $0 "" 1
    ${WordFind} $0 '"' "+1" $0
  ${EndIf}
  ${GetParent} $0 $0
  Pop $1
  Exch $0
FunctionEnd

; Sets $INSTDIR to the player's folder: where the player says it is installed, then where its
; uninstaller lies, then the usual Program Files folder. Leaves it empty when none holds the player.
Function FindPlayer
  ReadRegStr $0 HKCU "Software\Winamp" ""
  ${If} ${FileExists} "$0\${PLAYER_EXE}"
    StrCpy $INSTDIR $0
    Return
  ${EndIf}
  ReadRegStr $0 HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\Winamp" "UninstallString"
  ${If} $0 != ""
    Push $0
    Call FolderOfCommand
    Pop $0
    ${If} ${FileExists} "$0\${PLAYER_EXE}"
      StrCpy $INSTDIR $0
      Return
    ${EndIf}
  ${EndIf}
  ${If} ${FileExists} "$PROGRAMFILES32\Winamp\${PLAYER_EXE}"
    StrCpy $INSTDIR "$PROGRAMFILES32\Winamp"
  ${EndIf}
FunctionEnd

Function .onInit
  ; The player is a 32-bit program: its keys, and ours, live in the 32-bit view of the registry.
  SetRegView 32
  !insertmacro MUI_LANGDLL_DISPLAY
  StrCpy $OnlineChoice ${BST_CHECKED}
  ; A silent install shows no page: /ONLINE=0 leaves the search off there (or sets the page's box
  ; unticked to begin with).
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/ONLINE=" $1
  ${IfNot} ${Errors}
  ${AndIf} $1 == "0"
    StrCpy $OnlineChoice ${BST_UNCHECKED}
  ${EndIf}
  ${If} $INSTDIR == ""
    Call FindPlayer
  ${EndIf}
  ; Interactively the folder page asks; a silent run has nobody to ask.
  ${If} ${Silent}
  ${AndIfNot} ${FileExists} "$INSTDIR\${PLAYER_EXE}"
    SetErrorLevel 2
    Quit
  ${EndIf}
FunctionEnd

; The online search's page: ticked unless the user unticks it (or /ONLINE=0 was given).
Function OnlinePage
  !insertmacro MUI_HEADER_TEXT "$(TextOnlineTitle)" "$(TextOnlineSubtitle)"
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateCheckbox} 0 0 100% 12u "$(TextOnlineBox)"
  Pop $OnlineBox
  ${If} $OnlineChoice == ${BST_CHECKED}
    ${NSD_Check} $OnlineBox
  ${EndIf}
  ${NSD_CreateLabel} 12u 18u 95% 30u "$(TextOnlineSent)"
  Pop $0
  nsDialogs::Show
FunctionEnd
Function OnlinePageLeave
  ${NSD_GetState} $OnlineBox $OnlineChoice
FunctionEnd

Function .onVerifyInstDir
  ${IfNot} ${FileExists} "$INSTDIR\${PLAYER_EXE}"
    Abort
  ${EndIf}
FunctionEnd

Section "$(TextPluginSection)" SectionPlugin
  SectionIn RO
  Call EnsurePlayerClosed
  SetOutPath "$INSTDIR\Plugins"
  File "/oname=gen_sorvane.dll" "${DLL}"
  SetOutPath "$INSTDIR\Plugins\${OWN_FOLDER}"
  WriteUninstaller "$INSTDIR\Plugins\${OWN_FOLDER}\Uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION} (Winamp plug-in)"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR\Plugins"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Plugins\${OWN_FOLDER}\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Plugins\${OWN_FOLDER}\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; The online search as chosen, in the settings file the plug-in reads: in the player's settings
  ; folder. Settings an earlier version kept beside the plug-in move there first, whole, as the
  ; plug-in itself would move them: a file holding this one key would hide them from it.
  Push $INSTDIR
  Call PlayerSettingsFolder
  Pop $1
  ${IfNot} ${FileExists} "$1\sorvane.ini"
  ${AndIf} ${FileExists} "$INSTDIR\Plugins\sorvane.ini"
    CreateDirectory "$1"
    CopyFiles /SILENT "$INSTDIR\Plugins\sorvane.ini" "$1\sorvane.ini"
  ${EndIf}
  ${If} $OnlineChoice == ${BST_CHECKED}
    WriteINIStr "$1\sorvane.ini" "${INI_SECTION}" "OnlineLyrics" "1"
  ${Else}
    WriteINIStr "$1\sorvane.ini" "${INI_SECTION}" "OnlineLyrics" "0"
  ${EndIf}
SectionEnd

Section "$(TextSampleSection)" SectionSample
  SetOutPath "$INSTDIR\Plugins\${OWN_FOLDER}"
  File "/oname=Starlight.kra" "${SAMPLE}"
SectionEnd

Function un.onInit
  SetRegView 32
  !insertmacro MUI_UNGETLANGUAGE
FunctionEnd

; Sorvane's settings file and its log in a folder.
!macro RemoveSettingsIn folder
  Delete "${folder}\sorvane.ini"
  Delete "${folder}\sorvane.log"
!macroend

!ifdef TEST_SILENT_REMOVES_SETTINGS
  !define SILENT_SETTINGS_ANSWER IDYES
!else
  !define SILENT_SETTINGS_ANSWER IDNO
!endif

; $INSTDIR is the uninstaller's own folder, Plugins\Sorvane. Only what the installer put there goes;
; the user's lyrics, other plug-ins and (unless asked) the settings stay: in the player's settings
; folder, where Sorvane keeps them, in the usual one when that is another, and beside the plug-in,
; where earlier versions kept them.
Section "Uninstall"
  Call un.EnsurePlayerClosed
  ${GetParent} "$INSTDIR" $1
  Delete "$1\gen_sorvane.dll"
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "$(TextRemoveSettings)" /SD ${SILENT_SETTINGS_ANSWER} IDNO keepSettings
  !insertmacro RemoveSettingsIn "$1"
  ${GetParent} "$1" $2
  Push $2
  Call un.PlayerSettingsFolder
  Pop $2
  !insertmacro RemoveSettingsIn "$2"
  !insertmacro RemoveSettingsIn "$APPDATA\Winamp"
  keepSettings:
  Delete "$INSTDIR\Starlight.kra"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
