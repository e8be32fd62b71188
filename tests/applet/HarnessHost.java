import java.applet.Applet;
import java.applet.AppletContext;
import java.applet.AppletStub;
import java.applet.AudioClip;
import java.awt.Frame;
import java.awt.Image;
import java.awt.Toolkit;
import java.io.InputStream;
import java.net.URL;
import java.util.ArrayList;
import java.util.Collections;
import java.util.Enumeration;
import java.util.HashMap;
import java.util.Iterator;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;

/**
 * Plays the browser for one applet: hands over the param values (already HTML-decoded,
 * as a browser does), answers picture and sound requests, and records what the applet
 * asked for and which status texts it showed.
 */
class HarnessHost implements AppletStub, AppletContext {
    final Map<String, String> params = new LinkedHashMap<String, String>();
    /** Browsers match parameter names without case; a strict host does not. */
    boolean strictNames;
    final URL documentBase;
    final URL codeBase;
    final List<String> statuses = Collections.synchronizedList(new ArrayList<String>());
    final List<String> askedParams = Collections.synchronizedList(new ArrayList<String>());
    final List<URL> imagesAsked = Collections.synchronizedList(new ArrayList<URL>());
    final List<RecordingClip> clips = Collections.synchronizedList(new ArrayList<RecordingClip>());
    final List<int[]> resizes = Collections.synchronizedList(new ArrayList<int[]>());
    Applet applet;
    Frame frame;
    private final Map<String, InputStream> streams = new HashMap<String, InputStream>();

    HarnessHost(URL documentBase, URL codeBase) {
        this.documentBase = documentBase;
        this.codeBase = codeBase;
    }

    HarnessHost param(String name, String value) {
        params.put(name, value);
        return this;
    }

    /** Parameter names the applet asked for, compared without case. */
    boolean asked(String name) {
        synchronized (askedParams) {
            for (String asked : askedParams) {
                if (asked.equalsIgnoreCase(name))
                    return true;
            }
        }
        return false;
    }

    // AppletStub
    public boolean isActive() {
        return true;
    }

    public URL getDocumentBase() {
        return documentBase;
    }

    public URL getCodeBase() {
        return codeBase;
    }

    public String getParameter(String name) {
        askedParams.add(name);
        for (Iterator<Map.Entry<String, String>> it = params.entrySet().iterator(); it.hasNext();) {
            Map.Entry<String, String> entry = it.next();
            boolean same = strictNames ? entry.getKey().equals(name) : entry.getKey().equalsIgnoreCase(name);
            if (same)
                return entry.getValue();
        }
        return null;
    }

    public AppletContext getAppletContext() {
        return this;
    }

    public void appletResize(int width, int height) {
        resizes.add(new int[] { width, height });
        if (applet != null)
            applet.setSize(width, height);
        if (frame != null)
            frame.setSize(width, height);
    }

    // AppletContext
    public AudioClip getAudioClip(URL url) {
        RecordingClip clip = new RecordingClip(url);
        clips.add(clip);
        return clip;
    }

    public Image getImage(URL url) {
        imagesAsked.add(url);
        return Toolkit.getDefaultToolkit().createImage(url);
    }

    public Applet getApplet(String name) {
        return null;
    }

    public Enumeration<Applet> getApplets() {
        return Collections.enumeration(Collections.<Applet>emptyList());
    }

    public void showDocument(URL url) {
    }

    public void showDocument(URL url, String target) {
    }

    public void showStatus(String status) {
        statuses.add(status);
    }

    public void setStream(String key, InputStream stream) {
        streams.put(key, stream);
    }

    public InputStream getStream(String key) {
        return streams.get(key);
    }

    public Iterator<String> getStreamKeys() {
        return streams.keySet().iterator();
    }
}
