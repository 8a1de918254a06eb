# bash completion for velmora-cli: connection options, commands (one or more words) and the
# KEY= names each setting command takes. Installed by the velmora package.

_velmora_cli() {
    local cur prev
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD-1]}

    case $prev in
        --serial|--lpt)
            COMPREPLY=($(compgen -f -- "${cur:-/dev/tty}"))
            return ;;
        --baud) COMPREPLY=($(compgen -W "9600 19200 38400 57600 115200" -- "$cur")); return ;;
        --data-bits) COMPREPLY=($(compgen -W "7 8" -- "$cur")); return ;;
        --parity) COMPREPLY=($(compgen -W "none odd even" -- "$cur")); return ;;
        --stop-bits) COMPREPLY=($(compgen -W "1 1.5 2" -- "$cur")); return ;;
        --menu-mode) COMPREPLY=($(compgen -W "0 1" -- "$cur")); return ;;
        --tcp|--codepage|--timeout|--jobs) return ;;
        --trace|--printers|--printers-file) COMPREPLY=($(compgen -f -- "$cur")); return ;;
        --subnet|--port|--interval|--listen|--count) return ;;
        --trace-format) COMPREPLY=($(compgen -W "text jsonl" -- "$cur")); return ;;
        --from) COMPREPLY=($(compgen -W "inch mm dots" -- "$cur")); return ;;
    esac

    # The words of the command so far, options and their values left out.
    local words=() i=1 w
    while [ $i -lt $COMP_CWORD ]; do
        w=${COMP_WORDS[i]}
        case $w in
            --serial|--lpt|--baud|--data-bits|--parity|--stop-bits|--menu-mode|--tcp|--codepage|--timeout|--trace|--trace-format|--printers|--jobs)
                i=$((i + 2)); continue ;;
            -*) ;;
            *) words+=("$w") ;;
        esac
        i=$((i + 1))
    done

    local options="--tcp --serial --lpt --usb --baud --data-bits --parity --stop-bits --codepage --menu-mode --timeout --trace --trace-format --printers --jobs --json --help --version"
    local first="build calibrate charset codepage connect convert discover doctor identity info monitor native pcx preview profile read rfid send send-file status terminal tester twobyte zii"
    local candidates=""
    case "${words[*]}" in
        "") candidates="$first $options" ;;
        build) candidates="text vector barcode1d barcode2d box label printing copies" ;;
        "build text") candidates="x= y= font= h-multi= v-multi= space-r= rotation= reverse= bold= text= --test-print" ;;
        "build vector") candidates="x= y= width= height= space= bold= reverse= italic= rotation= justification= text-direction= text= --test-print" ;;
        "build barcode1d") candidates="x= y= type= n-bar-w= w-bar-w= height= rotation= hri= q-zone= data= --test-print" ;;
        "build barcode2d") candidates="type= x= y= mode= max-row= max-col= ecc= compress= hri= origin= module-w= bar-height= rotation= data= --test-print" ;;
        "build box") candidates="type= start-x= start-y= end-x= end-y= optional= --test-print" ;;
        "build label") candidates="unit= width= length= media= margin= x-margin= y-margin=" ;;
        "build printing") candidates="speed= density= direction= --test-print" ;;
        "build copies") candidates="quantity= copies=" ;;
        calibrate*) candidates="--type --length --level --middle --gap-count --save --cancel" ;;
        preview) COMPREPLY=($(compgen -f -- "$cur")); return ;;
        preview\ *) candidates="-o --lang" ;;
        profile) candidates="save diff apply" ;;
        "profile "*) COMPREPLY=($(compgen -f -W "--include-identity" -- "$cur")); return ;;
        rfid) candidates="get set reset-counters calibrate write read" ;;
        "rfid get"*) candidates="tag-type power position retries labels valid void" ;;
        "rfid set"*) candidates="tag-type= power= position= retries= labels=" ;;
        "rfid write"*) candidates="--metal --user --ascii --start --data --unlock --lock --passwords" ;;
        "rfid read"*) candidates="--metal --user --ascii --start --count --print" ;;
        terminal) candidates="send read" ;;
        "terminal send") COMPREPLY=($(compgen -f -W "--text" -- "$cur")); return ;;
        "terminal read") candidates="--hex" ;;
        twobyte) candidates="print" ;;
        "twobyte print"*) candidates="--table --start --end --all --font --width --height --zii" ;;
        charset) candidates="under80 over80 international all-tables" ;;
        charset\ *) candidates="vector set= table=" ;;
        codepage) candidates="get set" ;;
        "codepage set"*) candidates="codepage= ics= lock=" ;;
        doctor) candidates="$options" ;;
        discover*) candidates="--subnet --port --serial-scan --printers-file" ;;
        monitor*) candidates="--interval --listen --count" ;;
        identity) candidates="get set init" ;;
        "identity get"*|"identity init"*) candidates="version serial id" ;;
        "identity set"*) candidates="version= serial= id=" ;;
        info) candidates="reset usb-serial" ;;
        "info reset") candidates="motor tph cutter" ;;
        native) candidates="get set init interface" ;;
        "native get"*) candidates="paper-width paper-length gap-length h-margin v-margin density strobe speed gap-detect offset tear-off" ;;
        "native set"*) candidates="paper-width= paper-length= gap-length= h-margin= v-margin= density= strobe= speed= gap-detect= offset= tear-off= label-length-check=" ;;
        "native interface") candidates="get set" ;;
        "native interface set"*) candidates="handshake= stop-bits= data-bits= parity= baud=" ;;
        pcx) candidates="store delete info recall" ;;
        "pcx store") COMPREPLY=($(compgen -f -- "$cur")); return ;;
        "pcx store"*) candidates="--name" ;;
        "pcx delete") candidates="--all" ;;
        "pcx recall"*) candidates="--x --y" ;;
        send-file) COMPREPLY=($(compgen -f -- "$cur")); return ;;
        status) candidates="--cu" ;;
        tester) candidates="send read" ;;
        "tester send") COMPREPLY=($(compgen -f -W "--text" -- "$cur")); return ;;
        "tester send"*) candidates="--count" ;;
        "tester read") candidates="--hex" ;;
        zii) candidates="get set advanced serial clock quality tool" ;;
        "zii quality") candidates="auto pick manual" ;;
        "zii quality "*) candidates="--labels --darkness --speed --sample --save" ;;
        "zii tool") candidates="config-label feed list-objects calibrate factory-defaults reset diagnostics-on diagnostics-off" ;;
        "zii set"*) candidates="label-width= label-height= orientation= speed= darkness= print-mode= media-type= tear-off= print-offset= lock.speed= lock.darkness= lock.label-width= lock.print-offset= lock.tear-off= lock.media-type=" ;;
        "zii advanced"|"zii serial") candidates="get set" ;;
        "zii advanced set"*) candidates="media-handling= feed= mirror=" ;;
        "zii serial set"*) candidates="baud= data-bits= parity= stop-bits= protocol=" ;;
        "zii clock") candidates="set" ;;
        "zii clock set") candidates="now" ;;
    esac
    COMPREPLY=($(compgen -W "$candidates" -- "$cur"))
    # KEY= completions wait for their value rather than adding a space.
    [[ ${COMPREPLY[0]} == *= ]] && compopt -o nospace 2>/dev/null
    return 0
}
complete -F _velmora_cli velmora-cli
