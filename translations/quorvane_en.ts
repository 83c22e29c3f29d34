<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Cli</name>
    <message>
        <source>--read-only takes ask, yes or no, not &apos;%1&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--undo, --finish and --recover go alone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--undo, --finish and --recover take no rules or other options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--recover takes no paths</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--undo and --finish take one journal at most</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--names touches no file and cannot go with --apply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--names reads names from standard input and takes no paths</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no files given</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--null goes with --files-from or --names</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown option &apos;%1&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>option &apos;%1&apos; takes no value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>option &apos;%1&apos; needs a value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 takes zeros or spaces, not &apos;%2&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Usage: quorvane-cli [OPTIONS] PATH...
       quorvane-cli [OPTIONS] --files-from FILE
       quorvane-cli [OPTIONS] --names &lt; NAMES

Renames files by the rules of Quorvane 2: case, extension, and search and
replace with wildcards and fields. The files are taken in the order given.
Without --apply nothing is renamed: each file&apos;s path and new name are shown,
separated by a tab. Options come before the paths; &quot;--&quot; ends them.

Rules (they override the profile&apos;s values, later options the earlier ones):
  --profile FILE        start from the rules of a profile file (*.prf)
  --upper, --no-upper   change the name to upper case
  --lower, --no-lower   change the name to lower case (wins over --upper)
  --remove-ext, --no-remove-ext
                        remove the last extension
  --add-ext EXT, --no-add-ext
                        add the extension EXT (after a removal)
  --search TEXT         search text; switches search and replace on
  --replace TEXT        replacement text; switches search and replace on
  --no-search           switch search and replace off
  --counter-start N     first counter value (default 1)
  --counter-step N      counter step (default 1)
  --counter-width N, --no-counter-width
                        give every counter text exactly N characters
  --fill zeros|spaces   what fills a counter text to its width (default zeros)

Search text: * any characters, ? one character, &quot; at the start or end of the
text stands for the start or end of the name, &lt;...&gt; captures a part as &lt;1&gt; to
&lt;9&gt;. Replacement fields: &lt;1&gt;..&lt;9&gt;, &lt;name&gt;, &lt;typ&gt;, &lt;zaehler&gt; (the counter),
&lt;datum,a|d,k|e|t|m|j&gt; (current or file date), &lt;zeit,a|d,ko|ku|se|m|st&gt;
(current or file time).
Fields read from inside the file:
  &lt;datum,f,k|e|t|m|j&gt;, &lt;zeit,f,ko|ku|se|m|st&gt;
                        the photo&apos;s capture date and time (Exif
                        DateTimeOriginal, else DateTimeDigitized, else
                        DateTime, as written); without one, the file date
  &lt;kamera&gt;              the camera model (Exif Model)
  &lt;interpret&gt;, &lt;titel&gt;, &lt;album&gt;, &lt;nummer&gt;, &lt;jahr&gt;, &lt;genre&gt;
                        the audio tags artist, title, album, track number
                        (without its &quot;/total&quot;, at least two digits: 03),
                        year and genre
A value that is absent, or a file that cannot be read, gives an empty text. In
a tag value &quot;/&quot; becomes &quot;.&quot; and control characters are dropped, so a tag never
adds a folder to a name.

Every file is shown with its path, its new name and its status: rename,
unchanged, or why it will not be renamed (not-found, invalid-name, duplicate:
an earlier file gets that name, taken: a file that stays holds it, same-file:
the name is another link to the file). Names swapped or rotated between files
are renamed in an order that works, through a temporary name where needed.

Running:
  --apply               rename the files; a name that is taken is never
                        replaced, and each file is checked again right before
                        it is renamed (changed: it is no longer the file that
                        was checked). Ends with the number of renamed files.
  --read-only=ask|yes|no
                        rename read-only files? ask (the default) asks on a
                        terminal and means no without one
  --names               read one name per line from standard input and show
                        each new name; no file is touched
  --json                one JSON object per file: &quot;path&quot;, &quot;newName&quot;, with
                        --apply &quot;renamed&quot;, then &quot;status&quot; and &quot;reason&quot; (empty
                        unless the file is not renamed as shown)
  --files-from FILE     read the paths from FILE, one per line (&quot;-&quot;: standard
                        input)
  -0, --null            the paths or names read, and the new names --names
                        shows, end in NUL bytes instead of line ends
  --undo [JOURNAL]      undo the last renaming pass (or the one of JOURNAL),
                        finished or interrupted: each file that is still the
                        file the pass renamed gets its old name back; files
                        renamed again since, deleted, or whose old name is
                        taken are listed and stay
  --finish [JOURNAL]    finish an interrupted pass (the last, or JOURNAL)
  --recover             show the interrupted pass, if any, and where its
                        files are now

Every --apply, --undo and --finish first writes its plan to a journal in
$XDG_STATE_HOME/Velmora/Quorvane/journal/ (default ~/.local/state/...); a
journal that cannot be written stops it before the first rename.

  -h, --help            show this text
  -V, --version         show the version

Exit status: 0 done; 1 the rules were refused (the message is on standard
error), or a file could not be found, would not be or was not renamed
(read-only files left alone included), could not be undone, or there was
nothing to undo; 2 the command line is wrong, or the profile, the list of
paths or a journal cannot be read (or the journal is damaged).
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the list is larger than 256 MiB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not renamed: &quot;%1&quot;: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not renamed: &quot;%1&quot; -&gt; &quot;%2&quot;: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Try &apos;%1 --help&apos; for more information.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No interrupted renaming pass.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nothing to undo: no journal in &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no interrupted pass to finish</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Interrupted pass: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2 files; the journal marks %3 as done</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>On disk: %1 under their new names, %2 under their old names, %3 elsewhere:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo it: %1 --undo %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Finish it: %1 --finish %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the pass of &quot;%1&quot; was not interrupted: nothing to finish</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not undone: &quot;%1&quot;: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not finished: &quot;%1&quot;: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot read profile &quot;%1&quot;: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot read the names: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot read &quot;%1&quot;: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Dialogs</name>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>N&amp;o to All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yes to &amp;All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileGrid</name>
    <message>
        <source>Check</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Path</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extension</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Description</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Attributes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Creation Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last Write Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move to Top</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move to Bottom</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove file(s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove all files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check None</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invert Checks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show File Icons</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Visible Columns...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Files</name>
    <message>
        <source>Cannot read file &quot;%1&quot;: file too large</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot open file &quot;%1&quot;: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot read file &quot;%1&quot;: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot open file &quot;%1&quot;: not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot create file &quot;%1&quot;: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot write file &quot;%1&quot;: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot write file &quot;%1&quot;: the file is read-only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot create folder &quot;%1&quot;: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Ini</name>
    <message>
        <source>Cannot store key &quot;%1&quot; in section &quot;%2&quot;: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>invalid section name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>invalid key name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the value holds a line break</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Instance</name>
    <message>
        <source>The folder %1 cannot be created: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder %1 cannot be read: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is a symbolic link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is not a folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it belongs to user %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>other users can reach it (mode %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder %1 is not safe for handing over files: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the running copy (%1) did not take &quot;%2&quot;: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the running copy (%1) did not end the batch: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the path &quot;%1...&quot; is too long</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot start &quot;%1&quot;: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot listen on the socket &quot;%1&quot;: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot set up the socket &quot;%1&quot;: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Journal</name>
    <message>
        <source>line %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a broken escape in a name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a number in range</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not a journal of this program</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>written in another format (version %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cut short before the plan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no pass record</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>an unknown kind of pass</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the journal &quot;%1&quot; cannot be read: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the journal &quot;%1&quot; cannot be used: it is larger than 1 GiB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cut short: the plan ends after %1 of %2 steps</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the plan holds fewer steps than it says</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not a step record</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a folder that is not an absolute path</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a name that cannot name a file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a temporary name outside a ring</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cut short: the plan has no end mark</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the plan holds more steps than it says</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the plan does not match its check sum</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not a progress or end record</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The journal has no folder: neither XDG_STATE_HOME nor HOME is set. Nothing was renamed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The journal folder &quot;%1&quot; cannot be created: %2. Nothing was renamed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The journal &quot;%1&quot; cannot be written: %2. Nothing was renamed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the journal &quot;%1&quot; is damaged and was not used: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Passes</name>
    <message>
        <source>another file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file is not there</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read-only: left as it is</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the new name is empty</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot name a file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is given the same name before it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the name is held by %1, which keeps it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a file named %1 already exists</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is another name of this same file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file changed on disk after it was checked</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>left under its old name: %1, with which it swaps names, could not be renamed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the pass was stopped before this file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2 new names conflicts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2 new names conflict</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Profile</name>
    <message>
        <source>Cannot store key &quot;%1&quot;: the value is not UTF-8</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kann Profil nicht in Datei &quot;%1&quot; speichern!
<byte value="xd"/>( Datei schreibgeschützt? )</source>
        <translation>Cannot save the profile to the file &quot;%1&quot;!
<byte value="xd"/>(Is the file read-only?)</translation>
    </message>
</context>
<context>
    <name>Recovery</name>
    <message>
        <source>renamed again since: now &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>deleted, or moved out of its folder, since</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its old name is taken by another file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its new name is taken by another file</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RenamePasses</name>
    <message>
        <source>&quot;%1&quot; ist schreibgeschützt! Soll die Datei trotzdem umbenannt werden?</source>
        <translation>&quot;%1&quot; is read-only! Rename the file anyway?</translation>
    </message>
    <message>
        <source>Kann auf folgende Datei nicht zugreifen!: &quot;%1&quot;</source>
        <translation>Cannot access the following file: &quot;%1&quot;</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) renamed.</source>
        <translation>
            <numerusform>%n file renamed.</numerusform>
            <numerusform>%n files renamed.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) renamed back.</source>
        <translation type="unfinished">
            <numerusform>%n file renamed back.</numerusform>
            <numerusform>%n files renamed back.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Send</name>
    <message>
        <source>Usage: quorvane-send PATH...
Hands the files to the running Quorvane 2, or starts it with them.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot read the current folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no path given</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quorvane 2 is not running, and the program &quot;quorvane&quot; was found neither beside quorvane-send nor on PATH</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>Cannot read file &quot;%1&quot;: %2 (line %3, column %4)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot read file &quot;%1&quot;: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot write the settings file: no configuration folder and no writable program folder</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TWindowInfo</name>
    <message>
        <source>Adwaita icons</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quorvane 2 renames many files in one go by rules. It is free software, given to you free of charge and without any warranty: use it at your own risk.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Used 3rd party components (special thanks to the authors)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plugins</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plugin</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Author</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Miscellaneous</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>TWindowMain</name>
    <message>
        <source>files cannot be handed over to this window: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Renaming</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select the folder whose files shall be added.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Currently a Profile is opened. Possible changes are lost if you close the Quorvane 2! Continue?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo Renaming</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo renaming of %1 file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo renaming of %1 files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The renaming of %1 files was interrupted; %2 of them have their new names.

Finish the renaming, undo it, or decide later?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Interrupted Renaming</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Finish</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Decide &amp;Later</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) could not be undone:</source>
        <translation>
            <numerusform>%n file could not be undone:</numerusform>
            <numerusform>%n files could not be undone:</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) could not be renamed:</source>
        <translation>
            <numerusform>%n file could not be renamed:</numerusform>
            <numerusform>%n files could not be renamed:</numerusform>
        </translation>
    </message>
    <message>
        <source> 1. Spelling </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change to upper case</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change to lower case</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 2. File Extension </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove current extension</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add extension:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 3. Search and Replace </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search and Replace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replace by:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Feld einfügen</source>
        <translation>Insert field</translation>
    </message>
    <message>
        <source>replaces any numbers of characters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>replaces a single character</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>indicates the start/ending of a filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>copies a part from search text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>From Search Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bracket %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File Extension</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Counter...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>German (dd.mm.yyyy)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>English (yyyy.mm.dd)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Month</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Year</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Complete (hh:mm:ss)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Short (hh:mm)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hours</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Artist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Title</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Album</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Track Number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Genre</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Photo Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Photo Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Camera Model</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Audio Tags</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Profil speichern</source>
        <translation>Save Profile</translation>
    </message>
    <message>
        <source>Profil öffnen</source>
        <translation>Open Profile</translation>
    </message>
    <message>
        <source>Quorvane Profil (*.prf);;alle Dateien (*)</source>
        <translation>Quorvane Profile (*.prf);;All files (*)</translation>
    </message>
    <message>
        <source>Quorvane Profile (*.prf);;alle Dateien (*)</source>
        <translation>Quorvane Profile (*.prf);;All files (*)</translation>
    </message>
    <message>
        <source>Currently a Profile is opened. Possible changes are lost if you continue! Continue anyway?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Profile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Profile...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Profile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Files...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Folder...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove selected File(s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove all Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move to Top</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move to Bottom</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uncheck All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invert Checks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Info...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Profile as...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show Captions</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TextChecks</name>
    <message>
        <source>Doppelte Anführungszeichen zur Kennzeichnung des Anfangs oder des Endes des Dateinamens dürfen nur an erster oder letzter Stelle im Suchtext stehen!</source>
        <translation>Double quotes marking the start or the end of the file name may only stand first or last in the search text!</translation>
    </message>
    <message>
        <source>Es sind nur 9 Klammern im Suchtext erlaubt!</source>
        <translation>Only 9 brackets are allowed in the search text!</translation>
    </message>
    <message>
        <source>Klammerfehler im Suchtext! Alle geöffneten Klammern müssen auch wieder geschlossen werden!</source>
        <translation>Bracket error in the search text! Every opened bracket must be closed again!</translation>
    </message>
    <message>
        <source>Der Suchtext muss mindestens ein erkennbares Zeichen enthalten! Dazu zählen keine Platzhalter (?*).</source>
        <translation>The search text must contain at least one recognizable character! Placeholders (?*) do not count.</translation>
    </message>
    <message>
        <source>Klammerfehler im Ersetzungstext! Zwei Felder überschneiden sich!</source>
        <translation>Bracket error in the replacement text! Two fields overlap!</translation>
    </message>
    <message>
        <source>In alle Felder dürfen nur gültige Zahlenwerte eingegeben werden!</source>
        <translation>Only valid numbers may be entered in the fields!</translation>
    </message>
</context>
<context>
    <name>TfrmCounter</name>
    <message>
        <source>Eigenschaften Zähler</source>
        <translation>Counter Properties</translation>
    </message>
    <message>
        <source>Startwert:</source>
        <translation>Start at:</translation>
    </message>
    <message>
        <source>Schrittweite:</source>
        <translation>Step:</translation>
    </message>
    <message>
        <source>Breite:</source>
        <translation>Width:</translation>
    </message>
    <message>
        <source>Zahlen auf gleiche Breite bringen</source>
        <translation>Give all numbers the same width</translation>
    </message>
    <message>
        <source>mit Nullen auffüllen</source>
        <translation>pad with zeros</translation>
    </message>
    <message>
        <source>mit Leerzeichen auffüllen</source>
        <translation>pad with spaces</translation>
    </message>
</context>
</TS>
