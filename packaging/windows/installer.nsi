; The Windows installer, made by release.sh with Debian's makensis: a 64-bit, per-user
; install (no administrator asked) into the user's programs folder, with two Start-menu
; entries (the game in a window, and in full screen) and an uninstaller. The player's
; records, Rec.dat beside the exe, outlive an uninstall: the folder is left holding them.
; makensis -DVERSION=1.0.0 -DSTAGE=FOLDER -DOUTFILE=FILE installer.nsi
; (FOLDER holds comet-drifter.exe, image/ and README.txt, as in the zip)
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!define GAME "COMET DRIFTER"
!define FULL_SCREEN_LINK "$SMPROGRAMS\${GAME} (full screen).lnk"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${GAME}"

Name "${GAME} ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\${GAME}"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section
    SetOutPath "$INSTDIR"
    File "${STAGE}/comet-drifter.exe"
    File "${STAGE}/README.txt"
    File /r "${STAGE}/image"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    ; The shortcuts start the game in its folder, where it finds image\ and Rec.dat.
    ; --fullscreen is read by the exe's video driver, not by the game.
    SetOutPath "$INSTDIR"
    CreateShortCut "$SMPROGRAMS\${GAME}.lnk" "$INSTDIR\comet-drifter.exe"
    CreateShortCut "${FULL_SCREEN_LINK}" "$INSTDIR\comet-drifter.exe" "--fullscreen"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${GAME}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\comet-drifter.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Everything the installer or the game made, but Rec.dat; the folder goes when empty.
Section "Uninstall"
    Delete "$SMPROGRAMS\${GAME}.lnk"
    Delete "${FULL_SCREEN_LINK}"
    Delete "$INSTDIR\comet-drifter.exe"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\stdout.txt"
    Delete "$INSTDIR\Rec.dat*.tmp"  ; a save cut short
    RMDir /r "$INSTDIR\image"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
