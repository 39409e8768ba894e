# bash completion for tavimark                             -*- shell-script -*-

_tavimark()
{
    local cur prev words cword
    if declare -F _init_completion >/dev/null; then
        _init_completion -n = || return
    else
        # Without the bash-completion package: the words as bash split them.
        cur=${COMP_WORDS[COMP_CWORD]}
        prev=${COMP_WORDS[COMP_CWORD - 1]}
    fi

    local options="--print --list --folder --ext -d --printer -n --copies -o
        --timeout --wait-for --delay --output --journal --resend-uncertain --json --wait
        --wait-timeout --no-headers --no-bookmarks --combine --contents --list-printers -h --help -v --version
        --cookies --header --netrc-file --profile"

    case $prev in
        -d | --printer)
            local printers
            printers=$("${COMP_WORDS[0]}" --list-printers 2>/dev/null | sed 's/ (default)$//')
            local IFS=$'\n'
            COMPREPLY=($(compgen -W "$printers" -- "$cur"))
            return
            ;;
        --list | --journal | --cookies | --netrc-file)
            _tavimark_files "$cur"
            return
            ;;
        --folder | --output | --profile)
            _tavimark_folders "$cur"
            return
            ;;
        --header)
            COMPREPLY=()
            return
            ;;
        --ext)
            COMPREPLY=($(compgen -W "htm html xhtml shtml" -- "${cur#.}"))
            return
            ;;
        -o)
            COMPREPLY=($(compgen -W "sides= media= landscape portrait orientation-requested=
                print-color-mode= page-ranges= number-up= copies=" -- "$cur"))
            [[ ${COMPREPLY-} == *= ]] && compopt -o nospace 2>/dev/null
            return
            ;;
        -n | --copies | --timeout | --wait-timeout | --wait-for | --delay)
            return
            ;;
    esac

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi
    # Entries: HTML files and the folders that lead to them (a folder is
    # walked as --folder walks it).
    _tavimark_files "$cur" '*.@(htm|html|xhtml|shtml|HTM|HTML)'
}

# Files matching the pattern (any file without one), and folders.
_tavimark_files()
{
    local IFS=$'\n' pattern=${2-}
    compopt -o filenames 2>/dev/null
    if [[ -n $pattern ]]; then
        local file
        COMPREPLY=()
        shopt -q extglob || local restore=1
        shopt -s extglob
        for file in $(compgen -f -- "$1"); do
            # shellcheck disable=SC2053
            [[ -d $file || $file == $pattern ]] && COMPREPLY+=("$file")
        done
        [[ -n ${restore-} ]] && shopt -u extglob
    else
        COMPREPLY=($(compgen -f -- "$1"))
    fi
}

_tavimark_folders()
{
    local IFS=$'\n'
    compopt -o filenames 2>/dev/null
    COMPREPLY=($(compgen -d -- "$1"))
}

complete -F _tavimark tavimark
